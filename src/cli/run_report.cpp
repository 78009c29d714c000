#include "cli/run_report.h"

#include "engine/diagnostic_output.h"
#include "platform/text/wide_format.h"

namespace cli {

namespace {

// One message box, one line: the line breaks of a longer text become blanks.
std::string OneLine(const std::u16string& text) {
    std::string line = platform::text::ToUtf8(text);
    std::string joined;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool lineBreak = line[i] == '\n' || line[i] == '\r';
        if (!lineBreak)
            joined += line[i];
        else if (!joined.empty() && joined.back() != ' ' && i + 1 < line.size())
            joined += ' ';
    }
    return joined;
}

} // namespace

RunReport::RunReport(std::FILE* out, std::FILE* err, bool terminal)
    : m_out(out), m_err(err), m_terminal(terminal), m_diagnosticsSeen(engine::DiagnosticCount()) {}

void RunReport::StartLine() {
    // The system's diagnostics ("Something wrong!") end without a line end;
    // an open progress line on the terminal has none either.
    const unsigned long diagnostics = engine::DiagnosticCount();
    if (m_progressOpen || diagnostics != m_diagnosticsSeen)
        std::fputc('\n', m_out);
    m_progressOpen = false;
    m_diagnosticsSeen = diagnostics;
    std::fflush(m_out);
}

void RunReport::MessageBox(const std::u16string& text, const std::u16string& caption, bool counts) {
    const bool notice = caption == u"NOTICE";
    StartLine();
    std::fprintf(m_err, "%s: %s\n", notice ? "NOTICE" : "ERROR", OneLine(text).c_str());
    std::fflush(m_err);
    if (!counts)
        return;
    if (!notice)
        m_outcome = Outcome::failed;
    else if (text == u"Fusing image done" && m_outcome != Outcome::failed)
        m_outcome = Outcome::done;
}

void RunReport::Range(const std::string& what, const std::u16string& from, const std::u16string& to,
                      const std::u16string& drive) {
    const std::u16string shown = from + u' ' + to + u' ' + drive;
    std::u16string& last = m_shownRanges[what];
    if (shown == last)
        return;
    last = shown;
    if (from.empty() && to.empty() && drive.empty())
        return;
    StartLine();
    std::fprintf(m_out, "%s: %s to %s on drive %s\n", what.c_str(), platform::text::ToUtf8(from).c_str(),
                 platform::text::ToUtf8(to).c_str(), platform::text::ToUtf8(drive).c_str());
    std::fflush(m_out);
}

void RunReport::Progress(const std::u16string& progress) {
    if (progress == m_shownProgress)
        return;
    m_shownProgress = progress;
    if (progress.empty())
        return;
    const std::string text = "rootfs:" + platform::text::ToUtf8(progress);
    if (m_terminal) {
        if (!m_progressOpen || engine::DiagnosticCount() != m_diagnosticsSeen)
            StartLine();
        // Rewrite the line in place; blanks wipe a longer text shown before.
        std::fprintf(m_out, "\r%s   \r%s", text.c_str(), text.c_str());
        m_progressOpen = true;
    } else {
        StartLine();
        std::fprintf(m_out, "%s\n", text.c_str());
    }
    std::fflush(m_out);
}

void RunReport::Note(const std::string& line) {
    StartLine();
    std::fprintf(m_err, "strovane fuse: %s\n", line.c_str());
    std::fflush(m_err);
}

void RunReport::Finish() {
    StartLine();
}

} // namespace cli
