// "strovane fuse": the main dialog built but never shown, the options put
// into it, then its own START handler. Message boxes and the file dialogs of
// Load and Save are answered by the hooks, which are the only answerers here.
#include "cli/fuse_command.h"

#include "cli/apply_options.h"
#include "cli/fuse_options.h"
#include "cli/reporting_dialog.h"
#include "cli/run_report.h"
#include "cli/settings_paths.h"
#include "platform/classlib/headless.h"
#include "platform/process/process.h"
#include "platform/storage/drives.h"
#include "platform/testing/ui_hooks.h"
#include "platform/text/wide_format.h"

#include <filesystem>
#include <fstream>

namespace cli {

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;
constexpr int kExitNothingFused = 3;

// A file named on the command line (UTF-8), as the system names files.
std::filesystem::path FilePath(const std::string& path) {
    return std::filesystem::path(platform::text::FromUtf8(path));
}

int BadArguments(const std::string& error) {
    std::fprintf(stderr, "strovane fuse: %s\n\n%s", error.c_str(), FuseUsage().c_str());
    return kExitBadArguments;
}

// What the command line names besides the card images: a settings file to
// load must be a readable file, and one to save must be writable. Load and
// Save themselves are silent, so this is the place to say so.
std::string CheckSettingsFiles(const FuseOptions& options) {
    std::error_code isFolder;
    if (options.settings && (std::filesystem::is_directory(FilePath(*options.settings), isFolder) ||
                             !std::ifstream(FilePath(*options.settings), std::ios::binary)))
        return "--settings: cannot read \"" + *options.settings + "\"";
    if (options.saveSettings && !platform::process::CanWriteFile(*options.saveSettings))
        return "--save-settings: cannot write \"" + *options.saveSettings + "\"";
    return "";
}

std::string AddImageDrives(const FuseOptions& options) {
    for (const ImageDrive& drive : options.drives) {
        const std::string error = platform::storage::AddImageDrive(drive.letter, drive.path);
        if (!error.empty())
            return "--drive " + std::string(1, drive.letter) + "=" + drive.path + ": " + error;
    }
    return "";
}

// Presses a button of the dialog: the notification goes through the message
// map, so a file error raised inside the handler gets the platform's own
// file-error box, as it does when the operator clicks.
void Click(CVEXODlg& dialog, int id) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
}

// Runs the Load or Save button with its file dialog answered by path.
void ClickWithFile(CVEXODlg& dialog, int id, const std::string& path) {
    const std::u16string fullPath = std::filesystem::absolute(FilePath(path)).u16string();
    platform::testing::SetFileDialogHook([&](const platform::testing::FileDialogCall&) {
        return platform::testing::FileDialogAnswer{IDOK, fullPath};
    });
    Click(dialog, id);
    platform::testing::SetFileDialogHook(
        [](const platform::testing::FileDialogCall&) { return platform::testing::FileDialogAnswer{IDCANCEL, {}}; });
}

// Save is silent: a settings file is written when it has its 2048 bytes.
bool WasWritten(const std::string& path) {
    std::error_code error;
    return std::filesystem::file_size(FilePath(path), error) == 2048 && !error;
}

int RunHeadless(const FuseOptions& options) {
    const platform::classlib::HeadlessSession session;

    RunReport report(stdout, stderr, platform::process::IsTerminal(stdout));
    bool countMessages = true;
    platform::testing::SetMessageBoxHook([&](const platform::testing::MessageBoxCall& box) {
        report.MessageBox(box.text, box.caption, countMessages);
        return IDOK;
    });
    platform::testing::SetFileDialogHook(
        [](const platform::testing::FileDialogCall&) { return platform::testing::FileDialogAnswer{IDCANCEL, {}}; });

    INITCOMMONCONTROLSEX commonControls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&commonControls);

    int status = kExitFailed;
    {
        CReportingDlg dialog(report);
        if (!dialog.Create(IDD_VEXO_DIALOG)) {
            report.Note("the main dialog cannot be built");
        } else {
            // The template makes the dialog visible; this one is never shown.
            dialog.ShowWindow(SW_HIDE);
            AfxGetApp()->m_pMainWnd = &dialog;
            if (options.settings) {
                // Loading ends with a drive check for the file's drive; what
                // it reports is shown, but the run's own check decides.
                countMessages = false;
                ClickWithFile(dialog, IDC_LOAD, *options.settings);
                countMessages = true;
            }
            ApplyOptions(dialog, options);
            bool saved = true;
            if (options.saveSettings) {
                ClickWithFile(dialog, IDC_SAVE, *options.saveSettings);
                saved = WasWritten(*options.saveSettings);
                if (!saved)
                    report.Note("could not write the settings file \"" + *options.saveSettings + "\"");
                else if (!PathsLoadBackUnchanged({dialog.m_strBootloaderPath.Str(), dialog.m_strKernelPath.Str(),
                                                  dialog.m_strCramfsPath.Str(), dialog.m_strRootfsPath.Str()}))
                    report.Note("note: \"" + *options.saveSettings +
                                "\" will not load back these image paths: an empty path lets the later ones move "
                                "up one place, and a path with blanks or over 127 characters is cut");
            }
            if (saved) {
                Click(dialog, IDC_START);
                report.Finish();
                status = report.GetOutcome() == RunReport::Outcome::done     ? kExitDone
                         : report.GetOutcome() == RunReport::Outcome::failed ? kExitFailed
                                                                             : kExitNothingFused;
            }
            AfxGetApp()->m_pMainWnd = nullptr;
        }
    }
    platform::testing::SetMessageBoxHook(nullptr);
    platform::testing::SetFileDialogHook(nullptr);
    report.Finish();
    return status;
}

} // namespace

int RunFuseCommand(int argc, char** argv) {
    const ParseResult parsed = ParseFuseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty())
        return BadArguments(parsed.error);
    if (parsed.options.help) {
        std::fputs(FuseUsage().c_str(), stdout);
        return kExitDone;
    }
    // Every argument is checked before anything is read or written.
    if (const std::string error = CheckSettingsFiles(parsed.options); !error.empty())
        return BadArguments(error);
    if (const std::string error = AddImageDrives(parsed.options); !error.empty())
        return BadArguments(error);
    return RunHeadless(parsed.options);
}

} // namespace cli
