// An in-place save killed halfway through writing, which leaves its copy.

#pragma once

#include "framework/FileSaver.h"

#include <sys/wait.h>
#include <unistd.h>

// A file whose process dies once it has written half of what it was given.
struct DyingFile : QFile
{
    qint64 writeData(const char *data, qint64 length) override { ::_exit(QFile::writeData(data, length / 2) < 0); }
};

// Saves `fresh` to the file at `path` in place, in a child killed halfway.
inline void SaveCutShort(const QString &path, const QByteArray &fresh)
{
    if (::fork() == 0)
        ::_exit(CFileSaver([](CFileSaver::Role role) -> std::unique_ptr<QFile> {
                    if (role == CFileSaver::Role::Temporary) // no new file: in place
                        return nullptr;
                    return role == CFileSaver::Role::Target ? std::make_unique<DyingFile>() : std::make_unique<QFile>();
                }).Save(path, fresh));
    ::wait(nullptr);
}
