// Qt's own buttons and dialogs speak the system's language. The suite runs
// these tests twice: in the "C" locale and under MOLTREN_TEST_LOCALE=ru_RU.UTF-8.
#include "platform/gui/qtbridge.h"
#include "tests/platform/gui/x11/xserver.h"

#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace {

bool Russian() {
    return QLocale::system().language() == QLocale::Russian;
}

QString YesText() {
    QMessageBox box;
    return box.addButton(QMessageBox::Yes)->text();
}

class QtTranslations : public GuiTest {
protected:
    void TearDown() override {
        gui_detail::InstallQtTranslations(QLocale::system());
        GuiTest::TearDown();
    }
};

TEST_F(QtTranslations, FollowTheSystemLanguageFromStartUp) {
    EXPECT_EQ(YesText(), Russian() ? QStringLiteral("&Да") : QStringLiteral("&Yes"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"),
              Russian() ? QStringLiteral("Перейти к:") : QStringLiteral("Look in:"));
    // A box as the operator sees it.
    QMessageBox box(QMessageBox::Question, QStringLiteral("Moltren"), QStringLiteral("Сохранить?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    ASSERT_TRUE(xserver::Activate(&box));
    xserver::Keep(xserver::Picture(&box), Russian() ? "messagebox-ru" : "messagebox-c");
    box.hide();
    const xserver::OwnQtSettings settings;
    QFileDialog dialog(nullptr, QStringLiteral("Сохранить"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    ASSERT_TRUE(xserver::Activate(&dialog));
    xserver::Keep(xserver::Picture(&dialog), Russian() ? "filedialog-ru" : "filedialog-c");
    const auto labels = dialog.findChildren<QLabel*>();
    const bool lookIn = std::any_of(labels.begin(), labels.end(), [](const QLabel* l) {
        return l->text() == QCoreApplication::translate("QFileDialog", "Look in:");
    });
    EXPECT_TRUE(lookIn);
}

TEST_F(QtTranslations, ALanguageWithoutTranslationsLeavesEnglish) {
    gui_detail::InstallQtTranslations(QLocale::c());
    EXPECT_EQ(YesText(), QStringLiteral("&Yes"));
    gui_detail::InstallQtTranslations(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(YesText(), QStringLiteral("&Да"));
    // Installing again replaces the language, it does not stack.
    gui_detail::InstallQtTranslations(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(YesText(), QStringLiteral("&Yes"));
}

} // namespace
