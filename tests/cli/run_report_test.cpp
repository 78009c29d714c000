// The lines a headless run prints, and the outcome that decides its exit
// status, on in-memory streams standing for standard output and error.
#include "cli/run_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Two memory streams and their text.
class Streams {
public:
    Streams() : out(open_memstream(&m_out, &m_outSize)), err(open_memstream(&m_err, &m_errSize)) {}
    ~Streams() {
        std::fclose(out);
        std::fclose(err);
        std::free(m_out);
        std::free(m_err);
    }
    std::string Out() { std::fflush(out); return std::string(m_out, m_outSize); }
    std::string Err() { std::fflush(err); return std::string(m_err, m_errSize); }

private:
    char* m_out = nullptr;
    char* m_err = nullptr;
    std::size_t m_outSize = 0, m_errSize = 0;

public:
    std::FILE* out;
    std::FILE* err;
};

TEST(RunReport, OnATerminalTheProgressRewritesOneLineThatAMessageEnds) {
    Streams s;
    cli::RunReport report(s.out, s.err, /*terminal=*/true);
    report.Progress(u"  50 %");
    report.Progress(u"  50 %");  // shown again by a later exchange: no new output
    report.Progress(u"  100 %");
    report.MessageBox(u"Fusing image done", u"NOTICE");
    report.Progress(u"");  // the completed run empties it
    report.Finish();
    EXPECT_EQ(s.Out(), "\rrootfs:  50 %   \rrootfs:  50 %\rrootfs:  100 %   \rrootfs:  100 %\n");
    EXPECT_EQ(s.Err(), "NOTICE: Fusing image done\n");
    EXPECT_EQ(report.GetOutcome(), cli::RunReport::Outcome::done);
}

TEST(RunReport, ElsewhereEveryValueIsAWholeLineAndRangesArePrintedWhenTheyChange) {
    Streams s;
    cli::RunReport report(s.out, s.err, /*terminal=*/false);
    report.Range("bootloader", u"", u"", u"");
    report.Range("bootloader", u"129998", u"131069", u"E");
    report.Range("bootloader", u"129998", u"131069", u"E");
    report.Range("kernel", u"121806", u"125712", u"E");
    report.Progress(u"  50 %");
    report.Progress(u"  100 %");
    report.Range("bootloader", u"", u"", u"");
    report.Range("bootloader", u"129998", u"131069", u"E");  // set again after being emptied
    report.Finish();
    EXPECT_EQ(s.Out(),
              "bootloader: 129998 to 131069 on drive E\n"
              "kernel: 121806 to 125712 on drive E\n"
              "rootfs:  50 %\n"
              "rootfs:  100 %\n"
              "bootloader: 129998 to 131069 on drive E\n");
    EXPECT_EQ(s.Err(), "");
    EXPECT_EQ(report.GetOutcome(), cli::RunReport::Outcome::nothingFused);
}

TEST(RunReport, AnyOtherBoxIsAnErrorLineAndDecidesTheOutcomeWhenItCounts) {
    Streams s;
    cli::RunReport report(s.out, s.err, false);
    report.MessageBox(u"Choose SDMMC card drive", u"ERROR", /*counts=*/false);
    EXPECT_EQ(report.GetOutcome(), cli::RunReport::Outcome::nothingFused);
    report.MessageBox(u"The file could not be read.\r\nfile: a.img", u"Strovane");
    EXPECT_EQ(report.GetOutcome(), cli::RunReport::Outcome::failed);
    report.MessageBox(u"Fusing image done", u"NOTICE");  // a failure stays a failure
    EXPECT_EQ(report.GetOutcome(), cli::RunReport::Outcome::failed);
    EXPECT_EQ(s.Err(),
              "ERROR: Choose SDMMC card drive\n"
              "ERROR: The file could not be read. file: a.img\n"
              "NOTICE: Fusing image done\n");
}

} // namespace
