#include "RtfDocument.h"

#include <algorithm>
#include <array>

namespace vlt::peekpane {

namespace {

// Windows-1252 for 0x80..0x9F; the rest of the byte range is Latin-1. The five codes the code
// page leaves undefined map to themselves.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t fromCp1252(int byte) {
    return byte >= 0x80 && byte <= 0x9F ? kCp1252High[static_cast<std::size_t>(byte - 0x80)]
                                        : static_cast<char16_t>(byte);
}

// Where the characters of a group go.
enum class Sink { Text, FontTable, ColorTable, Skip };

struct GroupState {
    RtfFormat format;
    Sink sink = Sink::Text;
    int unicodeSkip = 1;  // \ucN: fallback characters after each \uN
};

// Destinations whose content is not part of the visible text.
constexpr std::array<std::u16string_view, 27> kSkipped = {
    u"stylesheet",        u"info",      u"pict",       u"header",       u"headerl",
    u"headerr",           u"headerf",   u"footer",     u"footerl",      u"footerr",
    u"footerf",           u"footnote",  u"object",     u"fldinst",      u"themedata",
    u"listtable",         u"datastore", u"xmlnstbl",   u"rsidtbl",      u"generator",
    u"filetbl",           u"revtbl",    u"nonshppict", u"latentstyles", u"colorschememapping",
    u"listoverridetable", u"pgdsctbl"};

constexpr long long kMaxParameter = 1'000'000'000;

class Reader {
  public:
    explicit Reader(std::u16string_view source) : source_(source) {
        document_.paragraphs.emplace_back();
        stack_.emplace_back();
    }

    RtfDocument read() {
        while (pos_ < source_.size()) {
            const char16_t c = source_[pos_++];
            switch (c) {
                case u'{':
                    openGroup();
                    break;
                case u'}':
                    closeGroup();
                    break;
                case u'\\':
                    control();
                    break;
                case u'\r':
                case u'\n':
                    break;
                default:
                    character(c);
                    break;
            }
        }
        return std::move(document_);
    }

  private:
    GroupState& state() { return stack_.back(); }

    void openGroup() {
        pendingSkip_ = 0;
        if (static_cast<int>(stack_.size()) > kMaxRtfDepth) {
            ++excessDepth_;
            return;
        }
        stack_.push_back(stack_.back());
        groupStart_ = true;
    }

    void closeGroup() {
        pendingSkip_ = 0;
        groupStart_ = false;
        if (excessDepth_ > 0) {
            --excessDepth_;
        } else if (stack_.size() > 1) {
            if (state().sink == Sink::FontTable && !fontName_.empty()) {
                // A font entry closed without its semicolon.
                finishFont();
            }
            stack_.pop_back();
        }
    }

    // A visible character, or one of the table texts.
    void character(char16_t c) {
        groupStart_ = false;
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        switch (state().sink) {
            case Sink::Text:
                appendText(c);
                break;
            case Sink::FontTable:
                if (c == u';') {
                    finishFont();
                } else {
                    fontName_.push_back(c);
                }
                break;
            case Sink::ColorTable:
                if (c == u';') {
                    document_.colors.push_back(color_);
                    color_ = RtfColor{};
                }
                break;
            case Sink::Skip:
                break;
        }
    }

    void appendText(char16_t c) {
        std::vector<RtfRun>& runs = document_.paragraphs.back().runs;
        if (runs.empty() || !(runs.back().format == state().format)) {
            runs.push_back(RtfRun{state().format, {}});
        }
        runs.back().text.push_back(c);
    }

    void finishFont() {
        const std::size_t first = fontName_.find_first_not_of(u' ');
        const std::size_t last = fontName_.find_last_not_of(u' ');
        if (first != std::u16string::npos) {
            document_.fonts[fontNumber_] = fontName_.substr(first, last - first + 1);
        }
        fontName_.clear();
    }

    void newParagraph() {
        if (state().sink == Sink::Text) {
            document_.paragraphs.emplace_back();
        }
    }

    void control() {
        if (pos_ >= source_.size()) {
            return;
        }
        const char16_t c = source_[pos_];
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')) {
            controlWord();
            return;
        }
        ++pos_;
        const bool atGroupStart = groupStart_;
        groupStart_ = false;
        switch (c) {
            case u'\'': {
                const int byte = hexByte();
                if (byte >= 0) {
                    character(fromCp1252(byte));
                }
                break;
            }
            case u'*':
                // Marks a destination this reader may not know: the whole group is skipped.
                if (atGroupStart) {
                    state().sink = Sink::Skip;
                }
                break;
            case u'~':
                character(u'\u00A0');
                break;
            case u'_':
                character(u'\u2011');
                break;
            case u'-':
                break;
            case u'\r':
            case u'\n':
                if (!consumeSkipped()) {
                    newParagraph();
                }
                break;
            default:
                // \\, \{, \} and any other symbol stand for themselves.
                character(c);
                break;
        }
    }

    // The byte of \'hh, or -1 when no hexadecimal digit follows.
    int hexByte() {
        int value = -1;
        for (int i = 0; i < 2 && pos_ < source_.size(); ++i) {
            const char16_t h = source_[pos_];
            int digit = -1;
            if (h >= u'0' && h <= u'9') {
                digit = h - u'0';
            } else if (h >= u'a' && h <= u'f') {
                digit = h - u'a' + 10;
            } else if (h >= u'A' && h <= u'F') {
                digit = h - u'A' + 10;
            }
            if (digit < 0) {
                break;
            }
            value = std::max(value, 0) * 16 + digit;
            ++pos_;
        }
        return value;
    }

    // Drops one fallback character after \uN; true when it did.
    bool consumeSkipped() {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return true;
        }
        return false;
    }

    void controlWord() {
        const std::size_t start = pos_;
        while (pos_ < source_.size() && pos_ - start < 32 &&
               ((source_[pos_] >= u'a' && source_[pos_] <= u'z') ||
                (source_[pos_] >= u'A' && source_[pos_] <= u'Z'))) {
            ++pos_;
        }
        const std::u16string_view word = source_.substr(start, pos_ - start);
        bool hasParameter = false;
        long long parameter = 0;
        bool negative = false;
        if (pos_ + 1 < source_.size() && source_[pos_] == u'-' && source_[pos_ + 1] >= u'0' &&
            source_[pos_ + 1] <= u'9') {
            negative = true;
            ++pos_;
        }
        while (pos_ < source_.size() && source_[pos_] >= u'0' && source_[pos_] <= u'9') {
            hasParameter = true;
            parameter = std::min(parameter * 10 + (source_[pos_] - u'0'), kMaxParameter);
            ++pos_;
        }
        if (negative) {
            parameter = -parameter;
        }
        if (pos_ < source_.size() && source_[pos_] == u' ') {
            ++pos_;
        }
        const bool atGroupStart = groupStart_;
        groupStart_ = false;
        apply(word, hasParameter, static_cast<int>(parameter), atGroupStart);
    }

    void apply(std::u16string_view word, bool hasParameter, int parameter, bool atGroupStart) {
        GroupState& s = state();
        const bool on = !hasParameter || parameter != 0;
        if (word == u"bin") {
            // Binary data follows: skip it whole, so its bytes are not read as RTF.
            pos_ =
                std::min(source_.size(), pos_ + static_cast<std::size_t>(std::max(parameter, 0)));
            return;
        }
        if (s.sink == Sink::Skip) {
            return;
        }
        if (word == u"u") {
            character(static_cast<char16_t>(parameter < 0 ? parameter + 65536 : parameter));
            pendingSkip_ = s.unicodeSkip;
            return;
        }
        if (pendingSkip_ > 0) {
            // A control word stands for one fallback character.
            --pendingSkip_;
            return;
        }
        if (atGroupStart && word == u"fonttbl") {
            s.sink = Sink::FontTable;
        } else if (atGroupStart && word == u"colortbl") {
            s.sink = Sink::ColorTable;
            color_ = RtfColor{};
        } else if (atGroupStart &&
                   std::find(kSkipped.begin(), kSkipped.end(), word) != kSkipped.end()) {
            s.sink = Sink::Skip;
        } else if (s.sink == Sink::FontTable) {
            if (word == u"f") {
                fontNumber_ = parameter;
                fontName_.clear();
            }
        } else if (s.sink == Sink::ColorTable) {
            const int component = std::clamp(parameter, 0, 255);
            if (word == u"red") {
                color_.red = component;
                color_.automatic = false;
            } else if (word == u"green") {
                color_.green = component;
                color_.automatic = false;
            } else if (word == u"blue") {
                color_.blue = component;
                color_.automatic = false;
            }
        } else {
            formatWord(word, hasParameter, parameter, on);
        }
    }

    void formatWord(std::u16string_view word, bool hasParameter, int parameter, bool on) {
        RtfFormat& f = state().format;
        if (word == u"par" || word == u"sect" || word == u"row" || word == u"page") {
            newParagraph();
        } else if (word == u"line") {
            character(u'\u2028');
        } else if (word == u"tab" || word == u"cell") {
            character(u'\t');
        } else if (word == u"b") {
            f.bold = on;
        } else if (word == u"i") {
            f.italic = on;
        } else if (word == u"ul" || word == u"uld" || word == u"uldb" || word == u"ulw" ||
                   word == u"uldash" || word == u"ulwave" || word == u"ulth") {
            f.underline = on;
        } else if (word == u"ulnone") {
            f.underline = false;
        } else if (word == u"strike" || word == u"striked") {
            f.strike = on;
        } else if (word == u"plain") {
            f = RtfFormat{};
            f.font = defaultFont_;
        } else if (word == u"f" && hasParameter) {
            f.font = parameter;
        } else if (word == u"deff" && hasParameter) {
            defaultFont_ = parameter;
            f.font = parameter;
        } else if (word == u"fs" && hasParameter) {
            f.halfPoints = std::clamp(parameter, 2, 3276);
        } else if (word == u"cf" && hasParameter) {
            f.color = std::max(parameter, 0);
        } else if (word == u"uc" && hasParameter) {
            state().unicodeSkip = std::clamp(parameter, 0, 16);
        } else if (word == u"emdash") {
            character(u'\u2014');
        } else if (word == u"endash") {
            character(u'\u2013');
        } else if (word == u"bullet") {
            character(u'\u2022');
        } else if (word == u"lquote") {
            character(u'\u2018');
        } else if (word == u"rquote") {
            character(u'\u2019');
        } else if (word == u"ldblquote") {
            character(u'\u201C');
        } else if (word == u"rdblquote") {
            character(u'\u201D');
        }
    }

    std::u16string_view source_;
    std::size_t pos_ = 0;
    RtfDocument document_;
    std::vector<GroupState> stack_;
    int excessDepth_ = 0;
    int pendingSkip_ = 0;
    bool groupStart_ = false;
    int defaultFont_ = -1;
    int fontNumber_ = 0;
    std::u16string fontName_;
    RtfColor color_;
};

}  // namespace

RtfDocument ReadRtf(std::u16string_view source) {
    return Reader(source).read();
}

}  // namespace vlt::peekpane
