#pragma once
// How files are written. The engine owns one and hands it to every file it writes
// (containers, backup copies, Config.ini, Recent.ini), so what a test sets here changes only that
// engine's writes, and a thread writing files meanwhile shares no state with it. As constructed
// it changes nothing: the bytes go to the system the ordinary way.

#include <cstddef>
#include <functional>

namespace vlt {

struct FileWriter {
    // Tests make writes fail here: asked before each write a file takes, with the bytes it has
    // taken so far; 0 lets the write through, an error number fails it with that error.
    std::function<int(std::size_t written)> writeFault;
    // Tests fail or slow a rewrite in place here: asked before each piece written over the
    // target, with the bytes rewritten so far; 0 lets the piece through, an error number fails it.
    std::function<int(std::size_t rewritten)> rewriteFault;
    // Off, files are written as filesystems without unnamed temporary files need: through named
    // temporary files.
    bool unnamedTemporaries = true;
};

}  // namespace vlt
