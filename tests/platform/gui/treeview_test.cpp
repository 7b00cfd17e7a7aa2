// The tree view: nodes in tree order, the selection and who hears of it, in-place editing
// and its veto, and the settings a form resource gives it.
#include "platform/gui/treeview.h"

#include "platform/core/classes.h"
#include "platform/core/objecttext.h"
#include "platform/core/streams.h"
#include "tests/platform/gui/guitest.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace {

class TreeViewTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        tree = Create<TTreeView>(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(0, 0, 200, 300);
        tree->OnChange = TTVChangedEvent([this](TObject*, TTreeNode* n) { changes.push_back(n); });
        // Series
        //   Температура
        //   Давление
        // Chart
        //   Axis
        //     Left Axis
        series = tree->GetItems()->AddObject(nullptr, u"Series", &dataA);
        temp = tree->GetItems()->AddChildObject(series, u"Температура, °C", &dataB);
        press = tree->GetItems()->AddChild(series, u"Давление, кПа");
        chart = tree->GetItems()->Add(series, u"Chart");
        axis = tree->GetItems()->AddChild(chart, u"Axis");
        left = tree->GetItems()->AddChild(axis, u"Left Axis");
    }
    QTreeWidget* Widget() const { return static_cast<QTreeWidget*>(tree->Widget()); }

    TestForm form;
    TTreeView* tree = nullptr;
    TObject dataA, dataB;
    TTreeNode *series = nullptr, *temp = nullptr, *press = nullptr, *chart = nullptr, *axis = nullptr,
              *left = nullptr;
    std::vector<TTreeNode*> changes;
};

TEST_F(TreeViewTest, NodesKeepTreeOrderParentsIndexesAndObjects) {
    TTreeNodes* items = tree->GetItems();
    EXPECT_EQ(items->GetCount(), 6);
    EXPECT_EQ(items->GetFirstNode(), series);
    EXPECT_EQ(series->GetNextSibling(), chart);
    EXPECT_EQ(chart->GetNextSibling(), nullptr);
    EXPECT_EQ(series->GetCount(), 2);
    EXPECT_EQ(series->GetItem(1), press);
    EXPECT_EQ(press->GetParent(), series);
    EXPECT_EQ(press->GetIndex(), 1);
    EXPECT_EQ(left->GetAbsoluteIndex(), 5);
    EXPECT_EQ(items->GetItem(4), axis);
    EXPECT_EQ(temp->GetData(), &dataB);
    EXPECT_EQ(press->GetData(), nullptr);
    EXPECT_EQ(temp->GetText(), u"Температура, °C");
    EXPECT_EQ(Widget()->topLevelItem(0)->child(0)->text(0), QString::fromUtf8("Температура, °C"));
    EXPECT_THROW(series->GetItem(2), EListError);
    EXPECT_THROW(items->GetItem(6), EListError);

    series->DeleteChildren();
    EXPECT_EQ(series->GetCount(), 0);
    EXPECT_EQ(items->GetCount(), 4);
    EXPECT_EQ(Widget()->topLevelItem(0)->childCount(), 0);
    chart->Delete();
    EXPECT_EQ(items->GetCount(), 1);
    EXPECT_EQ(Widget()->topLevelItemCount(), 1);
    items->Clear();
    EXPECT_EQ(items->GetCount(), 0);
    EXPECT_EQ(items->GetFirstNode(), nullptr);
    EXPECT_EQ(Widget()->topLevelItemCount(), 0);
    EXPECT_TRUE(changes.empty());
}

TEST_F(TreeViewTest, ExpandingAndCollapsingShowsInTheWidget) {
    series->Expand(false);
    EXPECT_TRUE(series->GetExpanded());
    EXPECT_TRUE(series->Item()->isExpanded());
    chart->Expand(true);
    EXPECT_TRUE(axis->GetExpanded());
    chart->Collapse(false);
    EXPECT_FALSE(chart->GetExpanded());
    EXPECT_TRUE(axis->GetExpanded());
    // A node's row is where the tree finds it; a collapsed node's children have none.
    form->Show();
    chart->Expand(false);
    axis->Collapse(false);
    const TRect r = axis->DisplayRect();
    EXPECT_EQ(tree->GetNodeAt(r.Left + 5, (r.Top + r.Bottom) / 2), axis);
    EXPECT_EQ(left->DisplayRect(), TRect());
    // A child added under an expanded node is in view.
    TTreeNode* added = tree->GetItems()->AddChild(series, u"Расход");
    EXPECT_TRUE(series->GetExpanded());
    EXPECT_EQ(added->GetIndex(), 2);
}

TEST_F(TreeViewTest, ChoosingFromCodeOrByTheUserAsksFirstAndThenTells) {
    std::vector<TTreeNode*> asked;
    bool allow = true;
    tree->OnChanging = TTVChangingEvent([&](TObject*, TTreeNode* n, bool& a) {
        asked.push_back(n);
        a = allow;
    });
    tree->SetSelected(temp);
    EXPECT_EQ(asked, std::vector<TTreeNode*>{temp});
    ASSERT_EQ(changes, std::vector<TTreeNode*>{temp});
    EXPECT_TRUE(temp->GetSelected());
    EXPECT_EQ(Widget()->currentItem(), temp->Item());
    tree->SetSelected(temp); // the same node again: nothing to say
    EXPECT_EQ(changes.size(), 1u);

    // The user moves down with the keyboard.
    form->Show();
    tree->SetFocus();
    Key(Widget(), Qt::Key_Down);
    EXPECT_EQ(tree->GetSelected(), press);
    EXPECT_EQ(changes.back(), press);

    // Refused: neither from code nor by the user does the selection move.
    allow = false;
    tree->SetSelected(chart);
    Key(Widget(), Qt::Key_Down);
    EXPECT_EQ(tree->GetSelected(), press);
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_TRUE(WaitFor([&] { return Widget()->currentItem() == press->Item(); }));
}

TEST_F(TreeViewTest, ADeletedSelectionLeavesNoneAndFiresNothing) {
    tree->SetSelected(left);
    changes.clear();
    chart->Delete(); // the selected node's grandparent
    EXPECT_EQ(tree->GetSelected(), nullptr);
    EXPECT_EQ(Widget()->currentItem(), nullptr);
    tree->SetSelected(press);
    changes.clear();
    temp->Delete(); // another node: the selection stays
    EXPECT_EQ(tree->GetSelected(), press);
    tree->GetItems()->Clear();
    EXPECT_EQ(tree->GetSelected(), nullptr);
    EXPECT_TRUE(changes.empty());
}

TEST_F(TreeViewTest, InPlaceEditingIsAskedForAndCanBeRefusedOrReadOnly) {
    tree->OnEditing =
        TTVEditingEvent([&](TObject*, TTreeNode* n, bool& allow) { allow = n->GetParent() == series; });
    String edited;
    tree->OnEdited = TTVEditedEvent([&](TObject*, TTreeNode*, String& s) {
        edited = s;
        s += u" (1)";
    });
    form->Show();
    EXPECT_FALSE(chart->EditText());
    EXPECT_TRUE(temp->EditText());
    auto* editor = Widget()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    Key(editor, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : QString::fromUtf8("Т1")) Key(editor, 0, Qt::NoModifier, QString(c));
    Key(editor, Qt::Key_Return);
    EXPECT_TRUE(WaitFor([&] { return !edited.empty(); }));
    EXPECT_EQ(edited, u"Т1");
    EXPECT_EQ(temp->GetText(), u"Т1 (1)");
    EXPECT_EQ(temp->Item()->text(0), QString::fromUtf8("Т1 (1)"));
    tree->SetReadOnly(true);
    EXPECT_FALSE(press->EditText());
}

// The form that holds the tree in a resource binds its handlers by name.
class TTreeForm : public TForm {
public:
    static const ClassInfo& StaticClass() {
        static const MethodInfo methods[] = {
            MakeMethod<&TTreeForm::TreeChange>("TreeChange"),
            MakeMethod<&TTreeForm::TreeEditing>("TreeEditing"),
        };
        static const ClassInfo ci = MakeClassInfo<TTreeForm>("TTreeForm", &TForm::StaticClass(), methods);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TForm::TForm;
    int chosen = 0;
    void TreeChange(TObject*, TTreeNode*) { ++chosen; }
    void TreeEditing(TObject*, TTreeNode*, bool& allow) { allow = false; }
};

TEST_F(GuiTest, AFormResourceSetsTheTreesSettingsAndHandlers) {
    RegisterClasses({&TTreeForm::StaticClass()});
    const std::string text = "object TreeForm: TTreeForm\n"
                             "  object Tree: TTreeView\n"
                             "    Left = 0\n    Top = 0\n    Width = 153\n    Height = 200\n"
                             "    Align = alLeft\n    HideSelection = False\n    Indent = 19\n"
                             "    TabOrder = 2\n    Visible = False\n"
                             "    OnChange = TreeChange\n    OnEditing = TreeEditing\n"
                             "  end\nend\n";
    TMemoryStream in, binary;
    in.WriteBuffer(text.data(), static_cast<LongInt>(text.size()));
    in.SetPosition(0);
    ObjectTextToBinary(&in, &binary);
    binary.SetPosition(0);
    Owned<TTreeForm> f(Create<TTreeForm>(nullptr, TCustomForm::NewTag{}));
    binary.ReadComponent(f.get());
    auto* tree = dynamic_cast<TTreeView*>(f->FindComponent(u"Tree"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->GetWidth(), 153);
    EXPECT_EQ(tree->GetAlign(), alLeft);
    EXPECT_FALSE(tree->GetHideSelection());
    EXPECT_EQ(tree->GetIndent(), 19);
    EXPECT_FALSE(tree->GetVisible());
    TTreeNode* node = tree->GetItems()->Add(nullptr, u"Chart");
    tree->SetSelected(node);
    EXPECT_EQ(f->chosen, 1);
    EXPECT_FALSE(node->EditText());
}

} // namespace
