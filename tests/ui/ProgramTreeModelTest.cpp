#include "ui/ProgramTreeModel.h"

#include "platform/Prompter.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "ui/EditorsHolder.h"
#include "ui/ProgramTreeView.h"

#include <QAbstractItemModelTester>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include <gtest/gtest.h>

using orvale::Prompter;
using orvale::ScriptedPrompter;

namespace {

// Model-consistency complaints of QAbstractItemModelTester, gathered as text.
std::vector<std::string>* Complaints = nullptr;

void Collect(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (Complaints && type != QtDebugMsg && type != QtInfoMsg)
        Complaints->push_back(message.toStdString());
}

// The application object exists before any widget member of the fixture.
struct WithQtApp {
    WithQtApp() { orvale::test::QtApp(); }
};

class ProgramTreeModelTest : public ::testing::Test, private WithQtApp {
protected:
    ProgramTreeModelTest() {
        Complaints = &Seen;
        Previous = qInstallMessageHandler(Collect);
        Tester = std::make_unique<QAbstractItemModelTester>(
            &Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    ~ProgramTreeModelTest() override {
        Tester.reset();
        qInstallMessageHandler(Previous);
        Complaints = nullptr;
    }

    TProgramTreeModel& Model() { return *Window.TreeProgram->TreeModel(); }
    TRPGProgram& Doc() { return *Window.Document; }

    // The model shows exactly the document's tree, node for node.
    void ExpectSameShape(const TreeNode& owner, const QModelIndex& parent) {
        ASSERT_EQ(Model().rowCount(parent), owner.Count());
        for (int i = 0; i < owner.Count(); ++i) {
            QModelIndex at = Model().index(i, 0, parent);
            ASSERT_EQ(Model().NodeOf(at), owner.Child(i));
            EXPECT_EQ(at.data().toString().toStdString(), owner.Child(i)->Text);
            EXPECT_EQ(Model().parent(at), parent);
            ExpectSameShape(*owner.Child(i), at);
        }
    }
    void ExpectSameShape() {
        ExpectSameShape(Doc().Tree.Items(), {});
        EXPECT_TRUE(Seen.empty()) << Seen.front();
        // Indexes that views hold on to followed their nodes through the change.
        for (const QPersistentModelIndex& kept : Kept) {
            if (!kept.isValid())
                continue;
            const TreeNode* node = Model().NodeOf(kept);
            EXPECT_EQ(kept.row(), node->Index()) << node->Text;
            EXPECT_EQ(Model().NodeOf(kept.parent()),
                      node->Parent()->Parent() ? node->Parent() : nullptr);
        }
        Kept.clear();
        for (TreeNode* n = Doc().Tree.First(); n; n = TProgramTree::Next(n))
            Kept.emplace_back(Model().IndexOf(n));
    }

    ScriptedPrompter Box;
    TEditorsHolder Window{Box, TEditorSetup{}};
    std::vector<std::string> Seen;
    std::vector<QPersistentModelIndex> Kept;
    QtMessageHandler Previous = nullptr;
    std::unique_ptr<QAbstractItemModelTester> Tester;
};

} // namespace

TEST_F(ProgramTreeModelTest, FollowsEveryChangeOfTheTree) {
    Doc().NewProgram();
    ExpectSameShape();
    for (const char* name : {"A", "B", "C"}) {
        Doc().AddSubRoutine(name, "");
        ExpectSameShape();
    }
    Doc().AddArray("TAB", "");
    Doc().AddOutput("QPRINT", "");
    ExpectSameShape();

    ASSERT_TRUE(Doc().MoveNode(Doc().FindNodeByText("C"), Doc().SubRoutinesNode));
    ExpectSameShape();
    ASSERT_TRUE(Doc().MoveNode(Doc().FindNodeByText("A"), Doc().FindNodeByText("C")));
    ExpectSameShape();

    // Deleting the selected node moves the selection, and the view with it.
    Doc().Tree.Select(Doc().FindNodeByText("B"));
    Box.Queue(Prompter::Answer::Ok);
    Doc().DeleteSelectedSubRoutine();
    ExpectSameShape();
    EXPECT_EQ(Model().NodeOf(Window.TreeProgram->currentIndex()), Doc().Tree.Selected());

    Doc().Tree.Select(Doc().FindNodeByText("QPRINT"));
    Doc().ChangeSectionProperty("QPRT", "renamed");
    EXPECT_EQ(Model().IndexOf(Doc().FindNodeByText("QPRT")).data().toString(), "QPRT");

    Doc().BuildTree();
    ExpectSameShape();
    Doc().Modified = false;
    Doc().CloseProgram();
    ExpectSameShape();
    EXPECT_EQ(Model().rowCount(), 0);
}

// Inside an update bracket the tree changes unannounced: a view that paints meanwhile (an import
// processes events at every step) must find no node it could follow into freed memory.
TEST_F(ProgramTreeModelTest, ShowsNothingWhileTheTreeIsBeingReplaced) {
    Doc().NewProgram();
    Doc().AddSubRoutine("A", "");
    ExpectSameShape();
    QModelIndex old = Model().IndexOf(Doc().FindNodeByText("A"));
    ASSERT_TRUE(old.isValid());
    Doc().Tree.BeginUpdate();
    Doc().BuildTree(); // every node of before is gone
    for (const char* name : {"B", "C"})
        Doc().AddSubRoutine(name, "");
    EXPECT_EQ(Model().rowCount(), 0);
    EXPECT_FALSE(Model().index(0, 0).isValid());
    EXPECT_EQ(Model().NodeOf(old), nullptr);
    EXPECT_FALSE(Model().data(old).isValid());
    EXPECT_FALSE(Model().parent(old).isValid());
    Window.TreeProgram->doItemsLayout();
    Window.TreeProgram->repaint();
    Doc().Tree.EndUpdate();
    Kept.clear();
    ExpectSameShape();
    EXPECT_EQ(Model().IndexOf(Doc().FindNodeByText("C")).data().toString(), "C");
}

TEST_F(ProgramTreeModelTest, DropsFromOutsideTheTreeAreRefused) {
    Doc().NewProgram();
    TProgramTreeView& tree = *Window.TreeProgram;
    QMimeData mime;
    mime.setData(TProgramTreeModel::kNodeMimeType, "1");
    QPoint onRoot = tree.visualRect(Model().IndexOf(Doc().Tree.Root())).center();
    // A drag the tree did not start (another widget, another program) is refused.
    QDragEnterEvent enter(onRoot, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(tree.viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(QPointF(onRoot), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QCoreApplication::sendEvent(tree.viewport(), &drop);
    EXPECT_FALSE(drop.isAccepted());
    std::vector<std::string> order;
    for (int i = 0; i < Doc().Tree.Root()->Count(); ++i)
        order.push_back(Doc().Tree.Root()->Child(i)->Text);
    EXPECT_EQ(order.front(), "Property");
    ExpectSameShape();
}
