#include "classlib/rtfdocument.h"

#include <string_view>

namespace {
constexpr std::string_view kLineSeparator = "\xE2\x80\xA8";

void AppendWithNewlines(std::string& out, std::string_view text) {
    for (size_t found = text.find(kLineSeparator); found != std::string_view::npos;
         found = text.find(kLineSeparator)) {
        out.append(text.substr(0, found));
        out += '\n';
        text.remove_prefix(found + kLineSeparator.size());
    }
    out.append(text);
}
} // namespace

std::string TRtfDocument::PlainText() const {
    std::string text;
    for (size_t i = 0; i < Paragraphs.size(); ++i) {
        if (i > 0) text += '\n';
        for (const TRtfRun& run : Paragraphs[i].Runs) AppendWithNewlines(text, run.Text);
    }
    return text;
}
