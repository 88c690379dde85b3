#pragma once
// Work split into numbered batches that worker threads prepare while the calling thread takes the
// results strictly in order: the container reader and writer use it to decrypt, encrypt and
// checksum on every core while the calling thread alone reports progress and keeps the windows
// live. Nothing here touches the user interface from a worker thread.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vlt {

// The number of worker threads worth starting on this machine (1..8).
unsigned WorkerThreads();

// Splits `count` consecutive items of the given byte sizes into batches for `threads` workers:
// enough batches to keep every worker busy, none much larger than a few MiB unless a single item
// is. Returns the first item of every batch followed by `count`.
std::vector<std::size_t> PlanBatches(std::size_t count,
                                     const std::function<std::uint64_t(std::size_t)>& sizeOf,
                                     unsigned threads);

// Runs prepare(i) for every i in 0..count-1 and take(i) on the calling thread in order of i,
// with at most a few batches prepared ahead of the one taken (which bounds the memory they hold).
// With threads <= 1 everything runs on the calling thread, one batch after the other. While it
// waits for a batch, the calling thread calls idle() about every 16 ms. take() returning false
// stops the run (no further batch is started) and makes the result false. An exception from
// prepare or take is rethrown on the calling thread once every worker has stopped.
bool RunInOrder(std::size_t count, unsigned threads,
                const std::function<void(std::size_t)>& prepare,
                const std::function<bool(std::size_t)>& take, const std::function<void()>& idle);

}  // namespace vlt
