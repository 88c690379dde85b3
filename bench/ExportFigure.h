#pragma once
// How long the plain-text exporter's writer takes over the host callbacks, without a window.

namespace vlt::bench {

// Prints "export txt ms (N entries, 1000 groups): T" for a vault of `entries` entries spread over
// 1000 groups, the whole vault exported.
void PrintExportFigure(int entries);

}  // namespace vlt::bench
