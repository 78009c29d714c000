// What a headless fusing run tells the person or script that started it:
// every message box as one line on standard error ("ERROR: text",
// "NOTICE: text"), the bootloader and kernel ranges as lines on standard
// output when the run sets them, and the root file-system progress, which
// rewrites one line in place on a terminal and prints whole lines otherwise.
// It also keeps the outcome that decides the exit status. Lines go to out,
// which is standard output in the product: the stream the system's own
// diagnostics go to.
#pragma once

#include <cstdio>
#include <map>
#include <string>

namespace cli {

class RunReport {
public:
    enum class Outcome { nothingFused, done, failed };

    // out and err are where the lines go; terminal says whether out is one.
    RunReport(std::FILE* out, std::FILE* err, bool terminal);

    // A message box of the system: its text, and its caption ("NOTICE" for
    // the completion message, "ERROR" or the platform's own title otherwise).
    // counts = false prints it without letting it decide the outcome (the
    // drive check that loading a settings file runs before the options apply).
    void MessageBox(const std::u16string& text, const std::u16string& caption, bool counts = true);

    // The ranges and progress as the dialog shows them now; a value that is
    // new and not empty is printed.
    // what names the image ("bootloader", "kernel").
    void Range(const std::string& what, const std::u16string& from, const std::u16string& to,
               const std::u16string& drive);
    void Progress(const std::u16string& progress);

    // A line of the command itself (not a message of the system), on standard error.
    void Note(const std::string& line);

    // Ends an open progress line; call once the run has returned.
    void Finish();

    Outcome GetOutcome() const { return m_outcome; }

private:
    // Before a line of ours: ends the progress line left open on the
    // terminal, and a text the system wrote to standard output without a
    // line end ("Something wrong!" when an image does not open).
    void StartLine();

    std::FILE* m_out;
    std::FILE* m_err;
    bool m_terminal;
    bool m_progressOpen = false;
    unsigned long m_diagnosticsSeen;
    std::map<std::string, std::u16string> m_shownRanges;  // by image, "from to drive"
    std::u16string m_shownProgress;
    Outcome m_outcome = Outcome::nothingFused;
};

} // namespace cli
