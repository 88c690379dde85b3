#include "ExportFrame.h"

#include <sys/stat.h>

#include <ctime>
#include <limits>
#include <new>

#include "common/AtomicFile.h"

namespace vlt::plugin {

ExportResult ExportFile(const ExportRequest& request, ExportWriter writer, RecordSource& records,
                        std::int32_t now, std::function<void(int)> showProgress,
                        ExportPrompts& prompts, std::string_view successMessage) {
    struct stat existing {};
    if (::stat(request.path.c_str(), &existing) == 0 && !S_ISDIR(existing.st_mode) &&
        !prompts.confirmReplace()) {
        return ExportResult::Declined;
    }
    // Export files hold passwords in clear: written owner-only, and through a link to where it
    // points, even a dangling one.
    const FileWriter plainWrites;
    AtomicFile file(request.path, plainWrites, 0600);
    file.replaceWithNewFileMode();
    file.followDanglingLinks();
    if (!file.open()) {
        prompts.message("Error", "Error creating output file. Exporting cancelled.",
                        MessageKind::Error);
        return ExportResult::CreateFailed;
    }
    bool written = false;
    try {
        ExportOutput out;
        ExportJob job{records, request.scope, out, std::move(showProgress), now};
        writer(job);
        written = file.write(out.bytes().data(), out.bytes().size()) && file.commit();
    } catch (const std::bad_alloc&) {
        written = false;
    }
    if (!written) {
        prompts.message("Error", "Error writing output file. Exporting cancelled.",
                        MessageKind::Error);
        return ExportResult::WriteFailed;
    }
    prompts.message("OK", successMessage, MessageKind::Information);
    return ExportResult::Written;
}

std::int32_t LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) {
        return static_cast<std::int32_t>(now);
    }
    const long long wall = static_cast<long long>(now) + local.tm_gmtoff;
    if (wall > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(wall);
}

}  // namespace vlt::plugin
