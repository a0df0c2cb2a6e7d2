// The result window: how it shows the text, and saving the log by a double click.
#include "ui/game_result_unit.h"
#include "window_test_support.h"

#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace velkaran;

namespace {

const std::vector<std::string> SampleLines = {"Первый игрок : Good bot", "", "Ничья",
                                              "    12 | 33,33%|(1) Атака 1."};

// The sample lines as the log file holds them: Windows-1251, CR LF after every line.
const QByteArray SampleLog = QByteArray(
    "\xcf\xe5\xf0\xe2\xfb\xe9 \xe8\xe3\xf0\xee\xea : Good bot\r\n"
    "\r\n"
    "\xcd\xe8\xf7\xfc\xff\r\n"
    "    12 | 33,33%|(1) \xc0\xf2\xe0\xea\xe0 1.\r\n");

QByteArray FileBytes(const QString &Path) {
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

struct TRecordedMessage {
    TMessageKind Kind;
    QString Text;
};

}  // namespace

class ResultWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        Form = std::make_unique<TGameResultForm>();
        Asked.clear();
        Messages.clear();
        Form->LogSaveDialog = [this](QWidget *, const QString &Previous) {
            Asked.append(Previous);
            return Answer;
        };
        Form->ShowMessage = [this](QWidget *, TMessageKind Kind, const QString &Text) {
            Messages.push_back({Kind, Text});
        };
        Form->SetResultLines(SampleLines);
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form.get()));
    }
    void cleanup() { Form.reset(); }

    void ShowsTheTextReadOnlyInAMonospacedWrappingMemo() {
        QCOMPARE(Form->windowTitle(), QStringLiteral("Результат игры"));
        QCOMPARE(Form->ResultLines(), SampleLines);
        QVERIFY(Form->ResultMemo->isReadOnly());
        QVERIFY(QFontInfo(Form->ResultMemo->font()).fixedPitch());
        QCOMPARE(Form->ResultMemo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(Form->ResultMemo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(Form->ResultMemo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(Form->OKButton->text(), QStringLiteral("OK"));
        QCOMPARE(Form->Label1->text(), QStringLiteral("Двойной клик для сохранения лога"));

        Form->SetResultLines({"new"});
        QCOMPARE(Form->ResultLines(), std::vector<std::string>{"new"});
    }

    void TheMemoAndButtonsFollowTheWindowSize() {
        Form->resize(700, 500);
        QCOMPARE(Form->ResultMemo->geometry().width(), 700);
        QCOMPARE(Form->ResultMemo->geometry().height(), 500 - 34);
        QVERIFY(Form->OKButton->geometry().right() < 700);
        QVERIFY(Form->OKButton->geometry().bottom() < 500);
        QVERIFY(Form->OKButton->geometry().top() > Form->ResultMemo->geometry().bottom());
    }

    void OkClosesTheModalWindow() {
        Form->hide();
        testing::AnswerNextModal([this](QWidget *Modal) {
            QCOMPARE(Modal, Form.get());
            QTest::mouseClick(Form->OKButton, Qt::LeftButton);
        });
        QCOMPARE(Form->exec(), int(QDialog::Accepted));
        QVERIFY(!Form->isVisible());
    }

    void DoubleClickSavesTheLog_data() {
        QTest::addColumn<QString>("Target");
        QTest::newRow("memo") << "memo";
        QTest::newRow("label") << "label";
        QTest::newRow("free area") << "free area";
    }
    void DoubleClickSavesTheLog() {
        QFETCH(QString, Target);
        QTemporaryDir Folder;
        Answer = Folder.filePath("result log.txt");
        DoubleClick(Target);

        QCOMPARE(Asked.size(), 1);
        QCOMPARE(FileBytes(Answer), SampleLog);
        QVERIFY(Messages.empty());
        QCOMPARE(Form->ResultLines(), SampleLines);
        QVERIFY(Form->isVisible());
    }

    void SavingAgainOffersTheLastNameAndOverwrites() {
        QTemporaryDir Folder;
        Answer = Folder.filePath("log");
        DoubleClick("memo");
        Form->SetResultLines({"x"});
        DoubleClick("memo");

        QCOMPARE(Asked, QStringList({QString(), Answer}));
        QCOMPARE(FileBytes(Answer), QByteArray("x\r\n"));
    }

    void CancelledDialogWritesNothing() {
        Answer.clear();
        DoubleClick("memo");
        QCOMPARE(Asked.size(), 1);
        QVERIFY(Messages.empty());
        QCOMPARE(Form->ResultLines(), SampleLines);
    }

    void FileThatCannotBeCreatedIsReported() {
        QTemporaryDir Folder;
        Answer = Folder.filePath("missing folder/log.txt");
        DoubleClick("label");

        QCOMPARE(Messages.size(), size_t(1));
        QCOMPARE(Messages[0].Kind, TMessageKind::Error);
        const QString Expected = QStringLiteral("Cannot create file \"%1\". ").arg(Answer);
        QVERIFY2(Messages[0].Text.startsWith(Expected), qPrintable(Messages[0].Text));
        QVERIFY(Messages[0].Text.size() > Expected.size());  // the system's reason follows
        QCOMPARE(Form->ResultLines(), SampleLines);
        QVERIFY(Form->isVisible());
    }

private:
    void DoubleClick(const QString &Target) {
        if (Target == "memo") {
            QTest::mouseDClick(Form->ResultMemo->viewport(), Qt::LeftButton);
        } else if (Target == "label") {
            QTest::mouseDClick(Form->Label1, Qt::LeftButton);
        } else {
            const QPoint FreeArea((Form->Label1->geometry().right() + Form->OKButton->geometry().left()) / 2,
                                  Form->OKButton->geometry().center().y());
            QCOMPARE(Form->childAt(FreeArea), nullptr);
            QTest::mouseDClick(Form.get(), Qt::LeftButton, {}, FreeArea);
        }
    }

    std::unique_ptr<TGameResultForm> Form;
    QString Answer;
    QStringList Asked;
    std::vector<TRecordedMessage> Messages;
};

QTEST_MAIN(ResultWindowTest)
#include "result_window_test.moc"
