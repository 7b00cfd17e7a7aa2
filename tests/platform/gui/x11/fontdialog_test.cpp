// The font dialog shown for real and answered by keys: what it lists and what OK gives back.
#include "platform/gui/dialogs.h"
#include "tests/platform/gui/x11/xserver.h"

#include <QAbstractItemModel>
#include <QFontDatabase>
#include <QFontDialog>
#include <QListView>

namespace {

class XFontDialog : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        SetDialogResponder({});
        if (!probe::FontInstalled(u"DejaVu Sans Mono") || !probe::FontInstalled(u"DejaVu Sans"))
            GTEST_SKIP() << "the DejaVu faces are not installed";
        dialog->GetFont()->SetName(u"DejaVu Sans Mono");
        dialog->GetFont()->SetSize(10);
    }
    // Opens the dialog, notes the faces its first list shows, and answers it by Keys.
    bool Execute(const std::string& keys) {
        xserver::ModalBoxes boxes([&](int) {
            if (auto* shown = qobject_cast<QFontDialog*>(QApplication::activeModalWidget())) {
                const QAbstractItemModel* model = shown->findChildren<QListView*>().at(0)->model();
                for (int row = 0; row < model->rowCount(); ++row)
                    faces << model->index(row, 0).data().toString();
            }
            return keys;
        });
        const bool ok = dialog->Execute();
        EXPECT_TRUE(boxes.WaitUntilClosed());
        return ok;
    }
    Owned<TFontDialog> dialog{Create<TFontDialog>(nullptr)};
    QStringList faces;
};

TEST_F(XFontDialog, AskedForFixedPitchItListsFixedPitchFacesOnly) {
    dialog->SetOptions(TFontDialogOptions{fdFixedPitchOnly});
    EXPECT_FALSE(Execute("Escape"));
    EXPECT_TRUE(faces.contains(QStringLiteral("DejaVu Sans Mono")));
    EXPECT_FALSE(faces.contains(QStringLiteral("DejaVu Sans")));
    for (const QString& face : faces) EXPECT_TRUE(QFontDatabase::isFixedPitch(face)) << face.toStdString();
}

TEST_F(XFontDialog, OkUntouchedGivesBackTheFontItWasGiven) {
    // The terminal's "Fixedsys" is shown in the face that stands for it, and keeps its name.
    for (const char16_t* name : {u"DejaVu Sans Mono", u"Fixedsys"})
        for (const TFontStyles style : {TFontStyles{}, TFontStyles{fsBold}, TFontStyles{fsItalic}}) {
            dialog->GetFont()->SetName(name);
            dialog->GetFont()->SetStyle(style);
            EXPECT_TRUE(Execute("Return"));
            EXPECT_EQ(dialog->GetFont()->GetName(), name);
            EXPECT_EQ(dialog->GetFont()->GetSize(), 10);
            EXPECT_EQ(dialog->GetFont()->GetStyle(), style) << style.Bits();
        }
}

} // namespace
