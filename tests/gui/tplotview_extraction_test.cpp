// The plot window's data extraction: the selected columns to a text file at a rate, and the
// refusals and output errors.
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "gui_support.h"

using namespace tarvik::guitest;

class PlotViewExtractionTest : public QObject {
  Q_OBJECT
 private slots:
  // ---- extraction ----

  void extractionWritesTheSelectedColumns() {
    QTemporaryDir dir;
    PlotTestWindow w;
    w.fill({{kTime, {43200, 43201}}, {kNo2, {1.5, 2}}, {kO3, {30.25, kFlag}}});
    auto* z = w.get<QListWidget>("ZList");

    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'W');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("Select Items From List ..."));
    QCOMPARE(w.dialogs.allBoxes[0].text, QString("No items selected from list."));
    QVERIFY(w.dialogs.saveProposals.isEmpty());

    z->item(2)->setSelected(true);  // selected in another order than the list's
    z->item(0)->setSelected(true);
    const QString path = dir.filePath("out.txt");
    w.dialogs.saveAnswer = path;
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.saveProposals.last(), QString("selected_data.txt"));
    QCOMPARE(w.dialogs.saveCaptions.last(), QString("Saving Selected Data to file ... "));
    QCOMPARE(readBytes(path), QByteArray("      Start_UTC              O3 \r\n"
                                         "          43200           30.25 \r\n"
                                         "          43201           -9999 \r\n"));
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.dialogs.allBoxes[1].kind, 'I');
    QCOMPARE(w.dialogs.allBoxes[1].caption, QString("Save Selected Data..."));
    QCOMPARE(w.dialogs.allBoxes[1].text, QString("Done saving selected data to file (Rate = 1)."));
    QCOMPARE(w.view.saveDialogFileName(), QString("X_Y_20190101_R0.ict.jpeg"));

    // Every second record, the rate typed with blanks.
    w.get<QComboBox>("RESAMPLE")->setCurrentText(" 2 ");
    w.button("btnSaveSelList")->click();
    QCOMPARE(readBytes(path), QByteArray("      Start_UTC              O3 \r\n"
                                         "          43201           -9999 \r\n"));
    QCOMPARE(w.dialogs.allBoxes.back().text, QString("Done saving selected data to file (Rate = 2)."));

    // The next image save proposes the chart image name again.
    w.dialogs.saveAnswer.clear();
    w.button("btnSaveJpg")->click();
    QCOMPARE(w.dialogs.saveProposals.last(), QString("X_Y_20190101_R0.ict.jpeg"));
  }

  void extractionRefusalsAndOutputErrors() {
    QTemporaryDir dir;
    PlotTestWindow w;
    w.fill({{kTime, {43200, 43201}}, {kNo2, {1.5, 2}}, {kO3, {30.25, kFlag}}});
    w.get<QListWidget>("ZList")->item(1)->setSelected(true);

    // A folder that does not exist: the plain box, no file, the image name kept.
    const QString missing = dir.filePath("missing/out.txt");
    w.dialogs.saveAnswer = missing;
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{1});
    QCOMPARE(w.dialogs.allBoxes[0].kind, 'P');
    QCOMPARE(w.dialogs.allBoxes[0].caption, QString("File Output Error"));
    QCOMPARE(w.dialogs.allBoxes[0].text, QString("Couldn't save selected data to a file."));
    QVERIFY(!QFile::exists(missing));
    QCOMPARE(w.view.saveDialogFileName(), QString("X_Y_20190101_R0.ict.jpeg"));

    // A full disk: the same box instead of the success box.
    if (QFile::exists("/dev/full")) {
      w.dialogs.saveAnswer = "/dev/full";
      w.button("btnSaveSelList")->click();
      QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
      QCOMPARE(w.dialogs.allBoxes[1].kind, 'P');
      QCOMPARE(w.dialogs.allBoxes[1].caption, QString("File Output Error"));
      QCOMPARE(w.dialogs.allBoxes[1].text, QString("Couldn't save selected data to a file."));
      w.dialogs.allBoxes.pop_back();
    }

    // A rate that is no integer: the conversion box, and no dialog.
    const qsizetype dialogsBefore = w.dialogs.saveProposals.size();
    w.get<QComboBox>("RESAMPLE")->setCurrentText("abc");
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.dialogs.allBoxes[1].kind, 'E');
    QVERIFY(w.dialogs.allBoxes[1].text.contains("'abc'"));
    QCOMPARE(w.dialogs.saveProposals.size(), dialogsBefore);

    // A cancelled dialog writes nothing and shows nothing.
    w.get<QComboBox>("RESAMPLE")->setCurrentText("1");
    w.dialogs.saveAnswer.clear();
    w.button("btnSaveSelList")->click();
    QCOMPARE(w.dialogs.allBoxes.size(), size_t{2});
    QCOMPARE(w.view.saveDialogFileName(), QString("X_Y_20190101_R0.ict.jpeg"));
  }
};

QTEST_MAIN(PlotViewExtractionTest)
#include "tplotview_extraction_test.moc"
