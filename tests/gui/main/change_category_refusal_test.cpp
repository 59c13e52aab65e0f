// A Change Category that is refused, or that moves nothing, leaves the Plugin View's lists and
// their selection as they were.

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "gui/main/plugin_lists.h"
#include "gui/main/plugin_view.h"
#include "support/pe_builder.h"
#include "window_fixture.h"

using namespace qm;

namespace {

std::string plugin(const std::string& category, const std::string& title) {
  test::PeImage image;
  image.resources.push_back({"PIPL", 0, {test::piplData({title, category, false, 0})}});
  return test::asString(test::buildPe(image).bytes);
}

QStringList texts(const QListWidget* list, bool selectedOnly = false) {
  QStringList all;
  for (int i = 0; i < list->count(); ++i)
    if (!selectedOnly || list->item(i)->isSelected()) all << list->item(i)->text();
  return all;
}

// Answers the category dialog with typed, then accepts every message box after it.
void answerCategoryDialog(const QString& typed, QStringList& messages) {
  auto* poll = new QTimer(qApp);
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, [poll, typed, &messages] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      messages << box->text();
      box->accept();
    } else if (auto* combo = modal ? modal->findChild<QComboBox*>("Combo1") : nullptr) {
      combo->setEditText(typed);
      QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    } else if (!modal && !messages.isEmpty()) {
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start();
}

}  // namespace

class ChangeCategoryRefusalTest : public QObject {
  Q_OBJECT
 private slots:
  void listsStayAsTheyWere_data();
  void listsStayAsTheyWere();
};

void ChangeCategoryRefusalTest::listsStayAsTheyWere_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("message");
  QTest::newRow("virtual") << "[Other Plugins]"
                           << "[Other Plugins] is only a virtual category!\nMoving plugins to "
                              "this category isn't possible.";
  QTest::newRow("nothing moved") << QString(40, 'x')
                                 << "Changing the category didn't work for 1 plugin(s).";
}

void ChangeCategoryRefusalTest::listsStayAsTheyWere() {
  QFETCH(QString, typed);
  QFETCH(QString, message);
  test::TempFolder folder;
  test::writeFile(folder / "Soft.8bf", plugin("Blur", "Soft Focus"));
  test::writeFile(folder / "Wave.8bf", plugin("Distort", "Wave"));
  test::StartedWindow w;
  w.start(folder.path());
  w.window->showView(gui::View::Plugin);
  gui::PluginView* view = w.window->pane(0)->pluginView();
  QTRY_VERIFY_WITH_TIMEOUT(!view->busy(), 20000);
  view->categoryList()->findItems("Distort", Qt::MatchExactly).first()->setSelected(true);
  view->filterList()->findItems("+ Wave", Qt::MatchExactly).first()->setSelected(true);
  const QStringList categories = texts(view->categoryList());
  const QStringList filters = texts(view->filterList());

  QStringList messages;
  answerCategoryDialog(typed, messages);
  w.window->menus().action("mnuChangeCat")->trigger();

  // The refusal may name the files after the message itself.
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages[0].startsWith(message), qPrintable(messages[0]));
  QCOMPARE(texts(view->categoryList()), categories);
  QCOMPARE(texts(view->categoryList(), true), QStringList{"Distort"});
  QCOMPARE(texts(view->filterList()), filters);
  w.close();
}

QTEST_MAIN(ChangeCategoryRefusalTest)
#include "change_category_refusal_test.moc"
