// The services of the Qt desktop: the clipboard, the link opener, the file requesters' filters.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QMimeData>

#include "FakePrompter.h"
#include "qt/PumpUntil.h"
#include "shell/app/QtDesktop.h"

namespace vlt {
namespace {

TEST(QtClipboard, CopiesAreMarkedSecretAndKnownAsOursOnlyUntilReplaced) {
    test::FakePrompter prompter;
    QtDesktop desktop(prompter);
    desktop.SetClipboardText(u"s3cret");
    QClipboard* clipboard = QGuiApplication::clipboard();
    ASSERT_NE(clipboard->mimeData(), nullptr);
    EXPECT_EQ(clipboard->text(), QStringLiteral("s3cret"));
    EXPECT_EQ(clipboard->mimeData()->data(QStringLiteral("x-kde-passwordManagerHint")),
              QByteArrayLiteral("secret"));
    EXPECT_TRUE(desktop.ClipboardHoldsOwnText());
    clipboard->setText(QStringLiteral("the user's own"));
    EXPECT_FALSE(desktop.ClipboardHoldsOwnText());
    desktop.SetClipboardText(u"again");
    desktop.ClearClipboard();
    EXPECT_FALSE(desktop.ClipboardHoldsOwnText());
    EXPECT_EQ(clipboard->text(), QString());
}

TEST(QtFileFilter, AllFilesShowsFilesWithoutADotToo) {
    EXPECT_EQ(QtDesktop::qtFilter(u"All files (*.*)|*.*"), QStringLiteral("All files (*)"));
    EXPECT_EQ(QtDesktop::qtFilter(u"VLT files (*.vlt)|*.vlt|All files (*.*)|*.*"),
              QStringLiteral("VLT files (*.vlt);;All files (*)"));
}

TEST(QtLinkOpener, OnlyWebAndMailAddressesReachTheBrowserWholeAndUnchanged) {
    test::FakePrompter prompter;
    QtDesktop desktop(prompter);
    std::vector<QUrl> opened;
    desktop.openUrl = [&opened](const QUrl& url) {
        opened.push_back(url);
        return true;
    };
    EXPECT_TRUE(desktop.OpenUrl(u"https://example.com/a b?q=1&r=\u00e9"));
    EXPECT_TRUE(desktop.OpenUrl(u"mailto:jo@example.com"));
    for (const char16_t* refused : {u"file:///etc/passwd", u"javascript:alert(1)", u"/bin/sh",
                                    u"--help", u"ssh://host", u""}) {
        EXPECT_FALSE(desktop.OpenUrl(refused));
    }
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].host(), QStringLiteral("example.com"));
    EXPECT_EQ(opened[1].scheme(), QStringLiteral("mailto"));
}

bool activeAfterEvents(QWidget* window) {
    return test::pumpUntil([window] { return QApplication::activeWindow() == window; }, 1000);
}

// A file chooser closing leaves no window active; what follows belongs to the window that asked.
TEST(QtRequesters, AfterEachFileChooserTheFocusIsBackWithTheWindowThatAsked) {
    test::FakePrompter prompter;
    QtDesktop desktop(prompter);
    QDialog editor;
    editor.setWindowModality(Qt::ApplicationModal);
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(activeAfterEvents(&editor));
    std::vector<QWidget*> parents;
    auto choose = [&parents](QWidget* parent) {
        parents.push_back(parent);
        QDialog chooser(parent);
        chooser.show();
        chooser.activateWindow();
        EXPECT_TRUE(activeAfterEvents(&chooser));
        chooser.hide();
        QApplication::processEvents();
    };
    auto& requesters = desktop.requesters();
    requesters.openFiles = [&](QWidget* parent, const QString&, const QString&) {
        choose(parent);
        return QStringList{QStringLiteral("/tmp/a.txt")};
    };
    requesters.folder = [&](QWidget* parent, const QString&) {
        choose(parent);
        return QStringLiteral("/tmp");
    };
    requesters.openFile = [&](QWidget* parent, const QString&, const QString&) {
        choose(parent);
        return QString();
    };
    requesters.saveFile = requesters.openFile;

    EXPECT_EQ(desktop.OpenFilesRequester(u"Add", u"All files (*.*)|*.*").size(), 1u);
    desktop.Message(u"Files added", u"done", MessageIcon::None);
    EXPECT_TRUE(activeAfterEvents(&editor));
    EXPECT_EQ(desktop.PathRequester(u"Extract to"), u"/tmp");
    desktop.Message(u"Files extracted", u"done", MessageIcon::None);
    EXPECT_TRUE(activeAfterEvents(&editor));
    desktop.OpenFileRequester(u"Open", u"All files (*.*)|*.*");
    EXPECT_TRUE(activeAfterEvents(&editor));
    desktop.SaveFileRequester(u"Save", u"All files (*.*)|*.*", u"");
    EXPECT_TRUE(activeAfterEvents(&editor));
    EXPECT_EQ(QApplication::activeWindow(), &editor);
    EXPECT_EQ(parents, std::vector<QWidget*>(4, &editor));
    ASSERT_EQ(prompter.prompts.size(), 2u);
    EXPECT_EQ(prompter.prompts[0].parent, &editor);
    EXPECT_EQ(prompter.prompts[1].parent, &editor);
}

}  // namespace
}  // namespace vlt
