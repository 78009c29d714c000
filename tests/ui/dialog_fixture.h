// Drives the real main dialog: runs it modally, hands the test body the open
// dialog, and answers message boxes and file dialogs through the test hooks,
// recording what the tool showed.
#pragma once

#include "platform/testing/ui_hooks.h"
#include "ui/VEXODlg.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::testing::SetMessageBoxHook([this](const platform::testing::MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
        platform::testing::SetFileDialogHook([this](const platform::testing::FileDialogCall& call) {
            fileDialogs.push_back(call);
            return fileDialogAnswer;
        });
    }
    void TearDown() override {
        platform::testing::SetMessageBoxHook(nullptr);
        platform::testing::SetFileDialogHook(nullptr);
    }

    // Opens the dialog modally, runs body once it is up and active, then
    // closes it unless the body did. Returns what DoModal returned.
    INT_PTR WithDialog(const std::function<void()>& body) {
        QTimer::singleShot(0, [this, &body] {
            QWidget* window = dlg->GetWidget();
            EXPECT_NE(window, nullptr);
            if (window != nullptr) {
                window->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(window));
                body();
            }
            if (dlg->GetWidget() != nullptr && dlg->GetWidget()->isVisible())
                dlg->EndDialog(IDCANCEL);
        });
        return dlg->DoModal();
    }

    QWidget* Control(int id) const {
        CWnd* item = dlg->GetDlgItem(id);
        return item != nullptr ? item->GetWidget() : nullptr;
    }
    QLineEdit* Edit(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }
    QComboBox* Combo(int id) const { return qobject_cast<QComboBox*>(Control(id)); }
    QAbstractButton* Button(int id) const { return qobject_cast<QAbstractButton*>(Control(id)); }

    // Types text into a box as an operator would, replacing what it holds.
    void Type(int id, const QString& text) {
        QLineEdit* edit = Edit(id);
        ASSERT_NE(edit, nullptr) << "control " << id;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    // Moves the focus to another control, as a click elsewhere would.
    void FocusOn(int id) {
        Control(id)->setFocus();
        QCoreApplication::processEvents();
    }
    // Picks list item index with the arrow keys, so the list notifies the
    // dialog the way an operator's choice does.
    void Choose(int id, int index) {
        QComboBox* combo = Combo(id);
        ASSERT_NE(combo, nullptr) << "control " << id;
        combo->setFocus();
        while (combo->currentIndex() < index)
            QTest::keyClick(combo, Qt::Key_Down);
        while (combo->currentIndex() > index)
            QTest::keyClick(combo, Qt::Key_Up);
        QCoreApplication::processEvents();
    }
    std::vector<std::u16string> BoxTexts() const {
        std::vector<std::u16string> texts;
        for (const auto& box : boxes)
            texts.push_back(box.text);
        return texts;
    }

    // A new dialog object, as each run of the tool has.
    void FreshDialog() { dlg = std::make_unique<CVEXODlg>(); }

    std::unique_ptr<CVEXODlg> dlg = std::make_unique<CVEXODlg>();
    std::vector<platform::testing::MessageBoxCall> boxes;
    std::vector<platform::testing::FileDialogCall> fileDialogs;
    platform::testing::FileDialogAnswer fileDialogAnswer;
};

// GoogleTest prints UTF-16 strings as numbers; this makes failures readable.
inline std::string Utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}
