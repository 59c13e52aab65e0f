// A file named on the command line that is not there: the start says so, then goes on as
// without an argument (the first start still asks for the plugin folder).

#include <QtTest>

#include "window_fixture.h"

using namespace qm;

class StartupArgumentTest : public QObject {
  Q_OBJECT
 private slots:
  void missingArgumentIsSaidThenIgnored();
};

void StartupArgumentTest::missingArgumentIsSaidThenIgnored() {
  test::TempFolder chosen, samples;
  test::StartedWindow w;
  test::MessageCatcher messages;
  w.start(std::filesystem::path("/missing/x.8bf"), chosen.path(), samples.path());
  QCOMPARE(messages.texts, QStringList{"/missing/x.8bf doesn't exist."});
  QCOMPARE(w.questions.size(), 1);
  QCOMPARE(w.window->pane(0)->folder(), chosen.path());
  QVERIFY(w.opened.isEmpty());
  w.close();
}

QTEST_MAIN(StartupArgumentTest)
#include "startup_argument_test.moc"
