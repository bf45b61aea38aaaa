#pragma once

#include <QtGlobal>

#include <sys/types.h>

// What a process and all processes below it use, read from /proc: a child
// that starts helpers of its own (the web engine starts several) is measured
// and ended as one.
namespace ProcessTree {

struct Usage
{
    // User and system time of the live processes of the tree, with what
    // they collected from children they waited for.
    double cpuSeconds = 0;
    // Proportional set size where the kernel reports it (pages shared
    // between the processes counted once in all), resident size otherwise.
    qint64 memoryBytes = 0;
    int processes = 0;
};

// The usage of root and its descendants; all zero once root is gone.
Usage usage(pid_t root);

// Kills root, every descendant and every process of root's process group.
void kill(pid_t root);

} // namespace ProcessTree
