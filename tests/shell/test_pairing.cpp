// The pairing dialog over the simulated receiver and mouse: the target it
// pairs, the wired hint, success, failure and the receiver unplugged during an
// attempt (outcomes come on the library's report thread), the caption cycle,
// the close button held while pairing, an attempt ended by Escape or by the
// window closing, the device-change and report callbacks handed back
// afterwards, texts and screenshots.
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/Match.h"
#include "shell/DialogChange.h"
#include "tests/shell/ChooserTesting.h"
#include "tests/worker/BusLog.h"

#include "tests/common/OtherThread.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {
const int Patience = TestLimit(5000);

void SetLanguage(int index)
{
    MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
}

// A device as the chooser lists it.
DeviceAllInfo Listed(const char* id, const char* pid, bool wired = false)
{
    DeviceAllInfo info;
    info.path = QString::fromLatin1(SimDevice_PathOf(id));
    info.vid = QStringLiteral("3A17");
    info.pid = QLatin1String(pid);
    info.wired = wired;
    info.linkType = wired ? 2 : 1;
    return info;
}

// Hands a report to the pairing callback from a thread of its own.
bool PairingReport(int type, int status, int headerLength = 8)
{
    QByteArray header(8, '\0');
    header[1] = char(type);
    const QByteArray data(1, char(status));
    return RunOnOtherThread([&] {
        Match::PairCallback(reinterpret_cast<const unsigned char*>(header.constData()), headerLength,
                            reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    });
}

// Counted on the library's change thread.
std::atomic<int> changeNotices{0};
void CountChange()
{
    ++changeNotices;
}
} // namespace

class TestPairing : public QObject {
    Q_OBJECT

    std::unique_ptr<Match> match_;

    QPushButton* Button() const { return match_->findChild<QPushButton*>(QStringLiteral("MatchButton")); }
    QLabel* Hint() const { return match_->findChild<QLabel*>(QStringLiteral("label")); }
    QTextEdit* Instruction() const { return match_->findChild<QTextEdit*>(QStringLiteral("textEdit")); }
    QAbstractButton* Close() const { return match_->findChild<QAbstractButton*>(QStringLiteral("CloseButton")); }

    // Timers by interval: 100 the receiver check, 1000 the presence check,
    // 500 the caption.
    QTimer* Timer(int intervalMs) const
    {
        for (QTimer* timer : match_->findChildren<QTimer*>()) {
            if (timer->interval() == intervalMs)
                return timer;
        }
        return nullptr;
    }
    bool AnyTimerRuns() const
    {
        for (QTimer* timer : match_->findChildren<QTimer*>()) {
            if (timer->isActive())
                return true;
        }
        return false;
    }

    // A dialog for the target, shown, once the 100 ms check has decided
    // whether pairing may start.
    bool Open(const DeviceAllInfo& target)
    {
        UsePairingTarget = true;
        PairingTarget = target;
        match_ = std::make_unique<Match>();
        match_->InitPairing();
        match_->show();
        return QTest::qWaitFor([this] { return match_->allowed() || Hint()->isVisible(); }, Patience)
            && QTest::qWaitForWindowExposed(match_.get(), DefaultTestLimit());
    }

    bool Start()
    {
        Button()->click();
        return Match::PairState == Match::Pairing && Match::PairStarted;
    }

    bool WaitOutcome()
    {
        return QTest::qWaitFor([] { return !Match::PairStarted; }, Patience)
            && QTest::qWaitFor([this] { return !Timer(500)->isActive(); }, Patience);
    }

private slots:
    void init()
    {
        SetLanguage(0);
        QVERIFY(SimDevice_Reset());
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_PAIRING, 150));
        DeviceChosen = 0;
        UsePairingTarget = false;
        ShownDevices.clear();
        CurrentDevice.set(DeviceAllInfo());
        Match::PairState = Match::Idle;
        Match::PairStarted = false;
        Match::RestoreDeviceChosen = false;
    }

    void cleanup()
    {
        match_.reset();
        UsbLibrary_Shutdown();
    }

    void cleanupTestCase()
    {
        SimDevice_Reset();
    }

    // ---- Target --------------------------------------------------------------

    void targetChoice_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("useTarget");
        QTest::addColumn<QString>("expected");
        QTest::newRow("the current device of the frame") << 1 << true << "current";
        QTest::newRow("the record kept for pairing") << 0 << true << "kept";
        QTest::newRow("the first listed device") << 0 << false << "listed";
        QTest::newRow("nothing listed") << 0 << false << "";
    }
    void targetChoice()
    {
        QFETCH(int, chosen);
        QFETCH(bool, useTarget);
        QFETCH(QString, expected);
        QVERIFY(SimDevice_LoadScenario(R"({"receivers": [{"id": "current", "kind": 4},
                                                          {"id": "kept", "kind": 2},
                                                          {"id": "listed", "kind": 1}]})"));
        DeviceAllInfo current = Listed("current", "5214");
        CurrentDevice.set(current);
        PairingTarget = Listed("kept", "5212");
        if (!expected.isEmpty())
            ShownDevices = {Listed("listed", "5211")};
        DeviceChosen = chosen;
        UsePairingTarget = useTarget;
        match_ = std::make_unique<Match>();
        // The current device's path is the one it had when the dialog was made.
        CurrentDevice.set(Listed("kept", "5212"));
        match_->InitPairing();
        QCOMPARE(match_->targetPath(), expected.isEmpty() ? QString()
                                                          : QString::fromLatin1(SimDevice_PathOf(qPrintable(expected))));
        // The product's customer id, whatever the record says.
        QCOMPARE(int(match_->cid()), 10);
        // The dialog's first 100 ms check decides; its slot runs before the spy's.
        QSignalSpy check(Timer(100), &QTimer::timeout);
        match_->show();
        QVERIFY(check.wait(Patience));
        QCOMPARE(match_->allowed(), !expected.isEmpty());
        QCOMPARE(Button()->isEnabled(), !expected.isEmpty());
        QVERIFY(Instruction()->isVisible());
        QVERIFY(!Hint()->isVisible());
    }

    void aWiredTargetCannotBePaired()
    {
        QVERIFY(SimDevice_LoadScenario(R"({"mice": [{"id": "mouse", "cable": true}]})"));
        QVERIFY(Open(Listed("mouse", "5201", true)));
        QVERIFY(Hint()->isVisible());
        QVERIFY(!Instruction()->isVisible());
        QVERIFY(!Button()->isEnabled());
        // Grey, as every control that cannot be used: the disabled text
        // colour on the grey picture, no accent fill.
        QVERIFY(Button()->styleSheet().contains(QStringLiteral("color: rgb(92, 98, 107)")));
        QVERIFY(Button()->styleSheet().contains(QStringLiteral("PairDisabled.png")));
        const QImage button = Button()->grab().toImage();
        const QColor fill = button.pixelColor(12, button.height() / 2);
        QVERIFY2(fill.saturation() < 60 && fill.lightness() < 80, qPrintable(fill.name()));
        QCOMPARE(Hint()->text(), QStringLiteral("Pairing is only possible in wireless mode"));
        // Neither a click nor the Space key starts anything.
        Button()->click();
        QApplication::setActiveWindow(match_.get());
        QTest::keyClick(match_.get(), Qt::Key_Space);
        // Whatever the click and the key posted is handled, and the dialog's
        // next 100 ms check has run.
        QSignalSpy check(Timer(100), &QTimer::timeout);
        QVERIFY(check.wait(Patience));
        QCOMPARE(int(Match::PairState), int(Match::Idle));
        QVERIFY(!Match::PairStarted);
        QVERIFY(!SaveScreenshot(match_.get(), QStringLiteral("match-wired-en")).isEmpty());
    }

    // ---- Outcomes ------------------------------------------------------------

    void outcome_data()
    {
        QTest::addColumn<int>("simulated");
        QTest::addColumn<bool>("paired");
        QTest::newRow("success") << SIM_PAIR_SUCCEED << true;
        QTest::newRow("failure") << SIM_PAIR_FAIL << false;
    }
    void outcome()
    {
        QFETCH(int, simulated);
        QFETCH(bool, paired);
        QVERIFY(SimDevice_LoadScenarioFile(qPrintable(Scenario("pairing.json"))));
        QVERIFY(SimDevice_SetTiming(SIM_TIMING_PAIRING, 150));
        QVERIFY(SimDevice_SetPairingOutcome(simulated));
        QVERIFY(Open(Listed("receiver", "5214")));
        QCOMPARE(Button()->text(), QStringLiteral("Start pairing"));
        QVERIFY(Start());
        QCOMPARE(Button()->text(), QStringLiteral("Pairing"));
        QVERIFY(Timer(1000)->isActive());
        QVERIFY(Timer(500)->isActive());

        QVERIFY(WaitOutcome());
        QVERIFY(!Timer(1000)->isActive());
        char mouse[16] = {};
        QCOMPARE(SimDevice_PairedMouse("receiver", mouse, sizeof mouse), paired ? 1 : 0);
        if (paired) {
            TRY_COMPARE(Button()->text(), QStringLiteral("Paired"));
            QCOMPARE(int(Match::PairState), int(Match::Paired));
            QVERIFY(Button()->styleSheet().contains(QStringLiteral("PairSuccess.png")));
            QCOMPARE(QByteArray(mouse), QByteArray("mouse"));
            // The receiver check enables the button again; the result stays,
            // and clicks do nothing more.
            TRY_VERIFY(Button()->isEnabled());
            Button()->click();
            QCOMPARE(int(Match::PairState), int(Match::Paired));
            QCOMPARE(Button()->text(), QStringLiteral("Paired"));
            QVERIFY(!Timer(500)->isActive());
        } else {
            TRY_COMPARE(Button()->text(), QStringLiteral("Pairing failed"));
            QCOMPARE(int(Match::PairState), int(Match::Failed));
            QVERIFY(Button()->styleSheet().contains(QStringLiteral("PairFail.png")));
            QVERIFY(Button()->isEnabled());
            // A new click starts again.
            QVERIFY(Start());
            QCOMPARE(Button()->text(), QStringLiteral("Pairing"));
            QVERIFY(WaitOutcome());
            TRY_COMPARE(Button()->text(), QStringLiteral("Pairing failed"));
        }
    }

    void unpluggedReceiverEndsTheAttempt()
    {
        QVERIFY(SimDevice_SetPairingOutcome(SIM_PAIR_NO_ANSWER));
        QVERIFY(Open(Listed("receiver", "5214")));
        QVERIFY(Start());
        // The 1 s presence check has found the receiver: the attempt goes on.
        QSignalSpy presence(Timer(1000), &QTimer::timeout);
        QVERIFY(presence.wait(Patience));
        QVERIFY(Match::PairStarted);
        QVERIFY(SimDevice_Plug("receiver", 0));
        // The next presence check ends the attempt.
        presence.clear();
        QVERIFY(presence.wait(Patience));
        QCOMPARE(int(Match::PairState), int(Match::Failed));
        TRY_COMPARE(Button()->text(), QStringLiteral("Pairing failed"));
        QCOMPARE(presence.count(), 1);
        QVERIFY(!Match::PairStarted);
        QVERIFY(Button()->styleSheet().contains(QStringLiteral("PairFail.png")));
        QVERIFY(!Timer(1000)->isActive());
        QVERIFY(!Timer(500)->isActive());
    }

    // Only a pairing report with status 2 or 3 ends an attempt.
    void otherReportsChangeNothing_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("headerLength");
        QTest::newRow("pairing in progress") << int(DIVAZA_REPORT_PAIRING) << 1 << 8;
        QTest::newRow("unknown status") << int(DIVAZA_REPORT_PAIRING) << 7 << 8;
        QTest::newRow("battery report") << int(DIVAZA_REPORT_BATTERY) << 3 << 8;
        QTest::newRow("header too short for a type") << int(DIVAZA_REPORT_PAIRING) << 3 << 1;
    }
    void otherReportsChangeNothing()
    {
        QFETCH(int, type);
        QFETCH(int, status);
        QFETCH(int, headerLength);
        QVERIFY(SimDevice_SetPairingOutcome(SIM_PAIR_NO_ANSWER));
        QVERIFY(Open(Listed("receiver", "5214")));
        QVERIFY(Start());
        QVERIFY(PairingReport(type, status, headerLength));
        // The report has been handled (PairingReport returns after it); what it
        // posted to the GUI thread, if anything, is delivered now.
        QCoreApplication::sendPostedEvents();
        QVERIFY(Match::PairStarted);
        QCOMPARE(int(Match::PairState), int(Match::Pairing));
        QVERIFY(Timer(500)->isActive());
        QCOMPARE(Button()->text().left(7), QStringLiteral("Pairing"));
        // A success report from the report thread ends it.
        QVERIFY(PairingReport(DIVAZA_REPORT_PAIRING, 3));
        TRY_COMPARE(Button()->text(), QStringLiteral("Paired"));
        QVERIFY(!Timer(500)->isActive());
    }

    // ---- Caption -------------------------------------------------------------

    void captionCycle()
    {
        QVERIFY(SimDevice_SetPairingOutcome(SIM_PAIR_NO_ANSWER));
        QVERIFY(Open(Listed("receiver", "5214")));
        QVERIFY(Start());
        QVERIFY(Timer(500));
        Timer(500)->stop();   // stepped by hand below
        QCOMPARE(Match::CaptionStep, 0);
        const QStringList cycle = {"Pairing", "Pairing.", "Pairing..", "Pairing...", "Pairing", "Pairing.",
                                   "Pairing.."};
        for (const QString& expected : cycle) {
            match_->onTextTimeupDestroy();
            QCOMPARE(Button()->text(), expected);
        }
        // A new attempt in the same dialog goes on where the cycle stopped.
        QVERIFY(PairingReport(DIVAZA_REPORT_PAIRING, 2));
        TRY_COMPARE(Button()->text(), QStringLiteral("Pairing failed"));
        QVERIFY(Start());
        match_->onTextTimeupDestroy();
        QCOMPARE(Button()->text(), QStringLiteral("Pairing..."));
        // A new dialog starts it again.
        QVERIFY(Open(Listed("receiver", "5214")));
        QCOMPARE(Match::CaptionStep, 0);
    }

    void spaceKeyStartsAndStaysAfterCaptions()
    {
        QVERIFY(SimDevice_SetPairingOutcome(SIM_PAIR_NO_ANSWER));
        QVERIFY(Open(Listed("receiver", "5214")));
        QApplication::setActiveWindow(match_.get());
        QVERIFY(QTest::qWaitForWindowActive(match_.get(), DefaultTestLimit()));
        QTest::keyClick(match_.get(), Qt::Key_Space);
        // The shortcut clicks the button the way a click looks.
        TRY_COMPARE(int(Match::PairState), int(Match::Pairing));
        // After some caption steps Space still reaches the button.
        QTRY_COMPARE_WITH_TIMEOUT(Button()->text(), QStringLiteral("Pairing.."), TestLimit(2500));
        QVERIFY(PairingReport(DIVAZA_REPORT_PAIRING, 2));
        TRY_COMPARE(int(Match::PairState), int(Match::Failed));
        QTest::keyClick(match_.get(), Qt::Key_Space);
        TRY_COMPARE(int(Match::PairState), int(Match::Pairing));
    }

    // ---- Closing -------------------------------------------------------------

    void closeButtonWaitsForTheOutcome()
    {
        QVERIFY(SimDevice_LoadScenarioFile(qPrintable(Scenario("pairing.json"))));
        QVERIFY(SimDevice_SetPairingOutcome(SIM_PAIR_NO_ANSWER));
        DialogChange chooser;
        TRY_COMPARE(ShownDevices.size(), 1);
        QVERIFY(Open(Listed("receiver", "5214")));
        QVERIFY(Start());
        // The library tells someone else of device changes meanwhile.
        changeNotices = 0;
        StartUsbChanged(&CountChange, 600);
        TRY_COMPARE(changeNotices.load(), 1);

        Close()->click();
        QVERIFY(match_->isVisible());
        QVERIFY(Match::PairStarted);

        QVERIFY(PairingReport(DIVAZA_REPORT_PAIRING, 2));
        TRY_VERIFY(!Match::PairStarted);
        Close()->click();
        QVERIFY(!match_->isVisible());
        QVERIFY(!Timer(100)->isActive());
        // The chooser follows device changes again.
        QVERIFY(SimDevice_Plug("receiver", 0));
        TRY_VERIFY(ShownDevices.isEmpty());
        QCOMPARE(changeNotices.load(), 1);
    }

    // An attempt started on the configuration frame gives DeviceChosen back
    // when it ends, however it ends.
    void attemptFromTheFrameGivesTheDeviceBack_data()
    {
        QTest::addColumn<QString>("end");
        QTest::newRow("success report") << "success";
        QTest::newRow("failure report") << "failure";
        QTest::newRow("receiver unplugged") << "unplugged";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("window closed") << "close";
        QTest::newRow("dialog destroyed") << "destroyed";
    }
    void attemptFromTheFrameGivesTheDeviceBack()
    {
        QFETCH(QString, end);
        QVERIFY(SimDevice_SetPairingOutcome(SIM_PAIR_NO_ANSWER));
        CurrentDevice.set(Listed("receiver", "5214"));
        DeviceChosen = 1;
        match_ = std::make_unique<Match>();
        match_->InitPairing();
        match_->show();
        TRY_VERIFY(match_->allowed());
        QVERIFY(Start());
        QCOMPARE(int(DeviceChosen), 0);
        QVERIFY(Match::RestoreDeviceChosen);

        if (end == QLatin1String("success") || end == QLatin1String("failure")) {
            QVERIFY(PairingReport(DIVAZA_REPORT_PAIRING, end == QLatin1String("success") ? 3 : 2));
            QVERIFY(match_->isVisible());
        } else if (end == QLatin1String("unplugged")) {
            QVERIFY(SimDevice_Plug("receiver", 0));
            QTRY_VERIFY_WITH_TIMEOUT(!Match::PairStarted, TestLimit(2000));
        } else if (end == QLatin1String("escape")) {
            QApplication::setActiveWindow(match_.get());
            QTest::keyClick(match_.get(), Qt::Key_Escape);
            QVERIFY(!match_->isVisible());
        } else if (end == QLatin1String("close")) {
            match_->close();
            QVERIFY(!match_->isVisible());
        } else {
            match_.reset();
        }
        TRY_VERIFY(!Match::PairStarted);
        QCOMPARE(int(DeviceChosen), 1);
        QVERIFY(!Match::RestoreDeviceChosen);
        if (match_ && !match_->isVisible())
            QVERIFY(!AnyTimerRuns());

        // A dialog opened afterwards can start at once.
        DeviceChosen = 0;
        QVERIFY(Open(Listed("receiver", "5214")));
        QVERIFY(Close()->isEnabled());
        if (end != QLatin1String("unplugged"))
            QVERIFY(Start());
    }

    // Pairing from the configuration frame: on closing, device changes reach
    // the worker, and after the hand-back so do the device's reports.
    void handBackToTheWorker()
    {
        Worker worker;
        worker.OnlineCheckTimer()->stop();
        BusLog log;
        DeviceAllInfo receiver = Listed("receiver", "5214");
        Worker::IdentifyDevice(receiver, SimDevice_PathOf("receiver"));
        PostMsg::Instance()->PostSelectMouseInfo(receiver);
        DeviceChosen = 1;
        StartUsbChanged(&Worker::OnUsbChanged, 600);
        TRY_COMPARE(log.Count("SigSetver"), 1);

        match_ = std::make_unique<Match>();
        match_->InitPairing();
        match_->show();
        TRY_VERIFY(match_->allowed());
        QVERIFY(Start());
        QVERIFY(WaitOutcome());
        TRY_COMPARE(Button()->text(), QStringLiteral("Paired"));
        QCOMPARE(int(DeviceChosen), 1);

        log.Clear();
        Close()->click();
        QVERIFY(!match_->isVisible());
        TRY_COMPARE(log.Arguments("SigSetver"), QList<QVariantList>{{4}});

        Match::HandBackToWorker();
        QVERIFY(UsbServer_ReadBatteryLevel());
        TRY_COMPARE(log.Count("SigBattery"), 1);
        // Unplugged: the worker goes back to the chooser.
        QVERIFY(SimDevice_Plug("receiver", 0));
        TRY_COMPARE(log.Arguments("SigChangeMainDialog"), QList<QVariantList>{{0}});
    }

    // ---- Texts and looks -------------------------------------------------------

    void texts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("hint");
        QTest::newRow("English") << 0 << "Start pairing" << "Pairing is only possible in wireless mode";
        QTest::newRow("Simplified Chinese") << 1 << QStringLiteral("开始配对") << QStringLiteral("无线模式下,才能进入配对");
        QTest::newRow("Traditional Chinese") << 2 << QStringLiteral("開始配對") << QStringLiteral("無線模式下,才能進入配對");
        QTest::newRow("Korean") << 3 << QStringLiteral("페어링 시작") << QStringLiteral("무선 모드에서만 페어링할 수 있습니다");
        QTest::newRow("Russian") << 4 << QStringLiteral("Начать сопряжение")
                                 << QStringLiteral("Сопряжение возможно только в беспроводном режиме");
        QTest::newRow("Japanese") << 5 << QStringLiteral("ペアリング開始")
                                  << QStringLiteral("ペアリングはワイヤレスモードでのみ可能です");
    }
    void texts()
    {
        QFETCH(int, language);
        QFETCH(QString, button);
        QFETCH(QString, hint);
        SetLanguage(language);
        QVERIFY(Open(Listed("receiver", "5214")));
        QCOMPARE(Button()->text(), button);
        QCOMPARE(Hint()->text(), hint);
        QVERIFY(Instruction()->toPlainText().size() > 20);
        QCOMPARE(match_->size(), QSize(458, 242));
        QCOMPARE(match_->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    }

    void languageChangeKeepsTheResult()
    {
        QVERIFY(Open(Listed("receiver", "5214")));
        QVERIFY(Start());
        QVERIFY(PairingReport(DIVAZA_REPORT_PAIRING, 3));
        TRY_COMPARE(Button()->text(), QStringLiteral("Paired"));
        SetLanguage(1);
        PostMsg::Instance()->PostChangeLanguage(1);
        QCOMPARE(Button()->text(), QStringLiteral("配对成功"));
        QCOMPARE(Hint()->text(), QStringLiteral("无线模式下,才能进入配对"));
    }

    void screenshots_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("state");
        for (int language : {0, 1}) {
            const QString suffix = language == 0 ? QStringLiteral("en") : QStringLiteral("zh");
            for (const char* state : {"idle", "pairing", "success", "failure"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(state), suffix)))
                    << language << QString::fromLatin1(state);
        }
    }
    void screenshots()
    {
        QFETCH(int, language);
        QFETCH(QString, state);
        SetLanguage(language);
        QVERIFY(SimDevice_SetPairingOutcome(state == QLatin1String("success") ? SIM_PAIR_SUCCEED
                                            : state == QLatin1String("failure") ? SIM_PAIR_FAIL
                                                                                : SIM_PAIR_NO_ANSWER));
        QVERIFY(Open(Listed("receiver", "5214")));
        if (state != QLatin1String("idle")) {
            QVERIFY(Start());
            if (state != QLatin1String("pairing")) {
                QVERIFY(WaitOutcome());
                TRY_VERIFY(Match::PairState == Match::Paired || Match::PairState == Match::Failed);
                // The button shows the outcome (posted after the state is set).
                TRY_VERIFY(Button()->styleSheet().contains(
                    state == QLatin1String("success") ? QStringLiteral("PairSuccess.png") : QStringLiteral("PairFail.png")));
            }
        }
        const QString name = QStringLiteral("match-%1-%2").arg(state, language == 0 ? "en" : "zh");
        QVERIFY(!SaveScreenshot(match_.get(), name).isEmpty());
    }
};

TALVIRE_TEST_MAIN(TestPairing)
#include "test_pairing.moc"
