#pragma once
// What every fuzz target shares: a quiet modal UI, a fixed locale and time
// zone, and a check that stops the run on a broken promise.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);

// Sets up the process once: messages are dropped, dates use the British
// picture and the zone of Central Europe. LLVMFuzzerInitialize does only this
// unless a target defines its own.
void FuzzSetUp();

// Aborts with `what` on stderr when `condition` is false, so that the fuzzer
// keeps the input.
void FuzzCheck(bool condition, const char *what);

inline QByteArray FuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}
