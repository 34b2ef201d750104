#pragma once
// Large scripts make hundreds of megabytes of small objects (an options tree
// of 10,000 actions holds half a million items), and the kernel hands memory
// out a 4 KiB page at a time: on a virtual machine those page faults cost as
// much as the work itself. Where the system offers transparent huge pages on
// request, the C library's allocator asks for them when the process starts
// with its `glibc.malloc.hugetlb=1` tunable; this sets it and starts the
// program again, once, before anything else has happened, when the command
// line names a script of 4 MiB or more.

// Call first thing in main. Returns only when the process keeps running as it
// is: no large file is named, huge pages are already asked for, the system
// does not offer them on request, MARROWPAD_SMALL_PAGES is set, or the program
// cannot be started again (then it simply runs with small pages).
// The benchmarks, whose work is large whatever they are given, pass Always.
enum class HugePagesFor { LargeScripts, Always };
void AskForHugePages(char *argv[], HugePagesFor when = HugePagesFor::LargeScripts);

// The bytes to ask the heap for a large block of at least `bytes` (its
// owner's header included) so that the kernel backs all of it with huge
// pages. The heap takes such a block straight from the kernel, which puts a
// mapping of whole huge pages on a huge-page boundary; any other size lands
// anywhere, and its unaligned ends, up to 4 MiB, are then faulted in 4 KiB at
// a time, each fault as dear as writing a page. The room added is never
// touched; a block under 1 MiB is left as it is.
long long HugePageRoom(long long bytes);
