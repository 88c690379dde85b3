#pragma once
// The frame around every writer: the replace question, the file made whole or not at all, and
// the closing message.

#include <cstdint>
#include <string>
#include <string_view>

#include "ExportWalk.h"

namespace vlt::plugin {

enum class MessageKind { Information, Question, Error };

// The questions and messages of an export, answered by the exporter window (or a test).
class ExportPrompts {
  public:
    virtual ~ExportPrompts() = default;
    // Yes/No to "Would you like to replace the existing file?".
    virtual bool confirmReplace() = 0;
    virtual void message(std::string_view title, std::string_view text, MessageKind kind) = 0;
};

enum class ExportResult { Declined, CreateFailed, WriteFailed, Written };

struct ExportRequest {
    std::string path;  // as typed, untrimmed
    ExportScope scope;
};

ExportResult ExportFile(const ExportRequest& request, ExportWriter writer, RecordSource& records,
                        std::int32_t now, std::function<void(int)> showProgress,
                        ExportPrompts& prompts, std::string_view successMessage);

// The current date as the exporters write it: seconds since 1970 of the local wall clock.
std::int32_t LocalNow();

}  // namespace vlt::plugin
