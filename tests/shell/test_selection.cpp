// Choosing a device on the chooser over the simulated devices, with a worker
// as the button page makes it: the selection's decision tree (a mouse listed
// twice, a receiver of no known model, the recorded mouse version and the
// firmware images deciding between pairing, the re-pair question, the
// firmware notice and opening), opening a device until its whole
// configuration arrives, the receiver update hint, clicks whose device list
// changed meanwhile, the page arrows, the window buttons, the language list,
// Repair and the popup's buttons.
#include "core/FirmwareImages.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "dialogs/RepairDialogTracker.h"
#include "core/Worker.h"
#include "devicelib/DIVAza.h"
#include "devicelib/SimDevice.h"
#include "dialogs/Match.h"
#include "dialogs/RePair.h"
#include "platform/Registry.h"
#include "shell/DialogChange.h"
#include "shell/mytoolButtonEnter.h"
#include "tests/common/FirmwareImageFiles.h"
#include "tests/shell/ChooserTesting.h"
#include "tests/worker/BusLog.h"

#include "tests/common/ModalAnswer.h"
#include "tests/common/SimImages.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <functional>
#include <list>
#include <memory>

namespace {
const int Patience = TestLimit(10000);

void SetLanguage(int index)
{
    MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
}

QString PathOf(const QString& id)
{
    return id.isEmpty() ? QString() : QString::fromLatin1(SimDevice_PathOf(qPrintable(id)));
}

// Receivers of distinct kinds and models, each with a switched-on mouse.
QByteArray ReceiversScenario(int count)
{
    const int kinds[] = {1, 2, 4, 8};
    QStringList receivers;
    QStringList mice;
    for (int i = 0; i < count; ++i) {
        receivers << QStringLiteral("{\"id\": \"r%1\", \"kind\": %2, \"address\": \"%3:00:01\"}")
                         .arg(i).arg(kinds[i % 4]).arg(0x10 + i, 2, 16);
        mice << QStringLiteral("{\"id\": \"m%1\", \"model\": %2, \"receiver\": \"r%1\"}").arg(i).arg(1 + i / 4);
    }
    return QStringLiteral("{\"receivers\": [%1], \"mice\": [%2]}")
        .arg(receivers.join(QStringLiteral(", ")), mice.join(QStringLiteral(", ")))
        .toUtf8();
}

// Stands in for the settings page's update and repair dialog.
class RepairStandIn : public QWidget {
    Q_OBJECT
public:
    QStringList* steps = nullptr;
public slots:
    void ResetView() { steps->append(QStringLiteral("ResetView")); }
protected:
    void showEvent(QShowEvent* event) override
    {
        steps->append(QStringLiteral("shown"));
        QWidget::showEvent(event);
    }
};
} // namespace

class TestSelection : public QObject {
    Q_OBJECT

    std::unique_ptr<DialogChange> chooser_;
    std::unique_ptr<Worker> worker_;
    std::unique_ptr<BusLog> log_;
    QTemporaryDir images_;
    // DeviceChosen when the worker's thread started.
    std::atomic<int> chosenAtStart_{-1};

    template <class T>
    T* Child(const char* name) const
    {
        return chooser_->findChild<T*>(QLatin1String(name));
    }
    QStackedWidget* Stack() const { return Child<QStackedWidget>("stackedWidget"); }

    // The chooser over a scenario, once its buttons are built.
    bool Open(const QString& scenario)
    {
        return OpenChooser(chooser_, scenario) && !DialogChange::DeviceButtons.isEmpty()
            && QTest::qWaitForWindowExposed(chooser_.get(), DefaultTestLimit());
    }

    // Which firmware images lie in the folder beside the program.
    void UseImages(const QStringList& which)
    {
        QDir(images_.path()).removeRecursively();
        QVERIFY(QDir().mkpath(images_.path()));
        if (which.contains(QStringLiteral("mouse")))
            QVERIFY(WriteFirmwareImage(images_.path(), QStringLiteral("mouse.bin"), FirmwareImages::MouseType, "TVM1-Mouse",
                               0x0106));
        // The receivers of the model: 2K and 4K.
        if (which.contains(QStringLiteral("receiver"))) {
            QVERIFY(WriteFirmwareImage(images_.path(), QStringLiteral("r2k.bin"), FirmwareImages::ReceiverType, "TVR1-2K",
                               0x0103));
            QVERIFY(WriteFirmwareImage(images_.path(), QStringLiteral("r4k.bin"), FirmwareImages::ReceiverType, "TVR1-4K",
                               0x0103));
        }
        FirmwareImages::SetFolder(images_.path());
    }

    void RecordMouseVersion(const QString& version)
    {
        const QString key = Registry::MouseVerKey(QStringLiteral("10"), QStringLiteral("1"));
        if (version.isEmpty())
            QVERIFY(Registry::Instance()->RemoveKey(key));
        else
            QVERIFY(Registry::Instance()->SetValue(key, version));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(images_.isValid());
        // The top window registers the worker's device-change callback when
        // the frame comes to the front.
        connect(PostMsg::Instance(), &PostMsg::SigChangeMainDialog, this, [](int page) {
            if (page == 1)
                StartUsbChanged(&Worker::OnUsbChanged, 600);
        });
    }

    void init()
    {
        SetLanguage(0);
        WiredModeText = QStringLiteral("Please update the mouse on its cable first");
        RecordMouseVersion(QString());
        UseImages({});
        DeviceChosen = 0;
        UsePairingTarget = false;
        ReceiverUpdateAvailable = false;
        worker_ = std::make_unique<Worker>();
        worker_->OnlineCheckTimer()->stop();
        chosenAtStart_ = -1;
        connect(worker_.get(), &QThread::started, this, [this] { chosenAtStart_ = DeviceChosen.load(); },
                Qt::DirectConnection);
        log_ = std::make_unique<BusLog>();
    }

    void cleanup()
    {
        chooser_.reset();
        // Back to the chooser, as the top window does.
        DeviceChosen = 0;
        PostMsg::Instance()->PostMainPageChange();
        UsbServer_Exit();
        StopUsbChanged();
        worker_.reset();
        log_.reset();
        UsbLibrary_Shutdown();
        FirmwareImages::SetFolder(QString());
    }

    void cleanupTestCase()
    {
        SimDevice_Reset();
    }

    // ---- The decision tree ------------------------------------------------------

    void decisionTree_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("version");     // recorded mouse version
        QTest::addColumn<QStringList>("images");  // beside the program
        QTest::addColumn<bool>("confirm");        // the re-pair question's answer
        QTest::addColumn<QStringList>("dialogs"); // the dialogs shown, in order
        QTest::addColumn<QString>("paired");      // the device the pairing dialog pairs
        QTest::addColumn<QString>("opened");      // the device opened
        const QString twins = Scenario("repair-twins.json");
        const QStringList none;
        const QStringList both = {"mouse", "receiver"};
        QTest::newRow("an ordinary device opens") << QString() << 0 << "" << none << false << none << ""
                                                  << "receiver";
        QTest::newRow("twin, no recorded version: pairing")
            << twins << 0 << "" << none << false << QStringList{"Match"} << "old" << "";
        QTest::newRow("twin, no image: question, declined")
            << twins << 0 << "v1.5" << none << false << QStringList{"RePair"} << "" << "";
        QTest::newRow("twin, no image: question, confirmed")
            << twins << 0 << "v1.5" << none << true << QStringList{"RePair", "Match"} << "old" << "";
        QTest::newRow("twin, both images: question")
            << twins << 0 << "v1.5" << both << true << QStringList{"RePair", "Match"} << "old" << "";
        QTest::newRow("twin, only a mouse image: firmware notice")
            << twins << 0 << "v1.5" << QStringList{"mouse"} << false << QStringList{"UpDateWarning"} << "" << "";
        QTest::newRow("twin, only a receiver image: the record opens")
            << twins << 0 << "v1.5" << QStringList{"receiver"} << false << none << "" << "old";
        QTest::newRow("twin, the answering record opens")
            << twins << 1 << "" << none << false << none << "" << "receiver";
        QTest::newRow("three records are never twins")
            << QStringLiteral(R"({"receivers": [{"id": "old", "kind": 2, "address": "6B:4D:22", "knowsMouse": true},
                                                 {"id": "receiver", "kind": 4}, {"id": "other", "kind": 8}],
                                  "mice": [{"id": "earlier", "receiver": "old", "powered": false},
                                           {"id": "mouse", "receiver": "receiver"},
                                           {"id": "mouse2", "model": 2, "receiver": "other"}]})")
            << 0 << "" << none << false << none << "" << "old";
        QTest::newRow("receiver of no known model: pairing")
            << Scenario("pairing.json") << 0 << "v1.5" << both << false << QStringList{"Match"} << "receiver" << "";
        QTest::newRow("wired device of no known model: nothing")
            << QStringLiteral(R"({"mice": [{"id": "mouse", "mid": 9, "cable": true}]})") << 0 << "" << none << false
            << none << "" << "";
    }
    void decisionTree()
    {
        QFETCH(QString, scenario);
        QFETCH(int, index);
        QFETCH(QString, version);
        QFETCH(QStringList, images);
        QFETCH(bool, confirm);
        QFETCH(QStringList, dialogs);
        QFETCH(QString, paired);
        QFETCH(QString, opened);
        QVERIFY(Open(scenario));
        RecordMouseVersion(version);
        UseImages(images);

        QStringList shown;
        QString pairedPath;
        QString noticeText;
        bool placed = true;
        const QPoint corner = chooser_->mapToGlobal(QPoint(0, 0));
        // One answer per dialog; a confirmed question sets up the next.
        std::list<ModalAnswer> answers;
        std::function<void()> answerNext = [&] {
            answers.emplace_back(
                [&](QWidget* dialog) {
                    const QString name = QString::fromLatin1(dialog->metaObject()->className());
                    shown << name;
                    const int dx = name == QLatin1String("UpDateWarning") ? -20 : 0;
                    placed = placed
                        && dialog->pos()
                            == corner + QPoint((chooser_->width() - dialog->width()) / 2 + dx,
                                               (chooser_->height() - dialog->height()) / 2);
                    if (auto* match = qobject_cast<Match*>(dialog)) {
                        pairedPath = match->targetPath();
                        match->reject();
                    } else if (name == QLatin1String("RePair")) {
                        if (confirm)
                            answerNext();
                        dialog->findChild<QAbstractButton*>(confirm ? QStringLiteral("OK")
                                                                    : QStringLiteral("Cancel"))->click();
                    } else {
                        noticeText = dialog->findChild<QLabel*>(QStringLiteral("label"))->text();
                        dialog->findChild<QAbstractButton*>(QStringLiteral("NewHong"))->click();
                    }
                },
                __FILE__, __LINE__);
        };
        answerNext();
        const QString clickedPath = ShownDevices.at(index).path;
        DialogChange::DeviceButtons.at(index)->click();
        if (dialogs.isEmpty())
            QTest::qWait(400);   // no dialog came

        QCOMPARE(shown, dialogs);
        if (dialogs.isEmpty())
            answers.front().Cancel();
        QVERIFY(placed);
        QCOMPARE(pairedPath, PathOf(paired));
        if (dialogs.contains(QStringLiteral("UpDateWarning")))
            QCOMPARE(noticeText, WiredModeText);
        if (!paired.isEmpty()) {
            QVERIFY(UsePairingTarget);
            QCOMPARE(PairingTarget.path, clickedPath);
        }
        // Every click first empties the settings page's version labels.
        QVERIFY(!log_->entries.isEmpty());
        QCOMPARE(log_->entries.first().name, QByteArray("SigSetver"));
        QCOMPARE(log_->entries.first().arguments, QVariantList{6});

        if (opened.isEmpty()) {
            QCOMPARE(int(DeviceChosen), 0);
            QCOMPARE(log_->Count("SigChangeMainDialog"), 0);
            QVERIFY(!worker_->isRunning());
            return;
        }
        // Opened: chosen before the worker started, and its path is the one
        // the worker uses at once.
        const QString path = PathOf(opened);
        QCOMPARE(clickedPath, path);
        QCOMPARE(int(DeviceChosen), 1);
        QCOMPARE(CurrentDevice.get().path, path);
        QCOMPARE(CurrentDevicePath.get(), path.toLatin1());
        QCOMPARE(log_->Arguments("SigChangeMainDialog"), QList<QVariantList>{{1}});
        QTRY_COMPARE_WITH_TIMEOUT(int(chosenAtStart_), 1, Patience);
        if (opened == QLatin1String("receiver")) {
            // Its whole configuration arrives.
            QTRY_COMPARE_WITH_TIMEOUT(log_->Count("SigForm"), 1, Patience);
            QVERIFY(LiveFlashDataIsCurrent());
            const FlashDataMap image = log_->Last("SigUpDataLightUIButton").value(0).value<FlashDataMap>();
            const FlashDataMap stored = StoredImage("mouse");
            QCOMPARE(std::memcmp(&image, &stored, sizeof image), 0);
            QCOMPARE(log_->Arguments("SigUpDataParam"), QList<QVariantList>{{0}});
        } else {
            // A device that does not answer: the pages are reset (no cache).
            QTRY_COMPARE_WITH_TIMEOUT(log_->Count("SigFormReset"), 1, Patience);
            QVERIFY(OfflinePending);
        }
    }

    void mouseIndexFollowsTheModel_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QList<int>>("indices");
        QTest::newRow("model 1") << QString() << QList<int>{0};
        QTest::newRow("model 2") << QStringLiteral(R"({"receivers": [{"id": "r", "kind": 2, "model": 2}],
                                                         "mice": [{"id": "m", "model": 2, "receiver": "r"}]})")
                                 << QList<int>{1};
        QTest::newRow("no known model") << QStringLiteral(R"({"mice": [{"id": "m", "mid": 9, "cable": true}]})")
                                        << QList<int>{};
    }
    void mouseIndexFollowsTheModel()
    {
        QFETCH(QString, scenario);
        QFETCH(QList<int>, indices);
        QVERIFY(Open(scenario));
        QSignalSpy spy(PostMsg::Instance(), &PostMsg::SigMouseIndex);
        DialogChange::DeviceButtons.first()->click();
        QList<int> sent;
        for (const QList<QVariant>& arguments : qAsConst(spy))
            sent << arguments.first().toInt();
        QCOMPARE(sent, indices);
    }

    // The receiver version and its update hint on the settings page.
    void receiverUpdateHint_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("folder");      // "images", "empty" or "missing"
        QTest::addColumn<bool>("availableBefore");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("available");
        QTest::newRow("newer receiver image") << QString() << "images" << false << "true" << true;
        QTest::newRow("no receiver image") << QString() << "empty" << true << "" << false;
        QTest::newRow("no folder: hint unchanged") << QString() << "missing" << true << "" << true;
        QTest::newRow("wired mouse") << Scenario("wired.json") << "images" << true << "" << false;
    }
    void receiverUpdateHint()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, folder);
        QFETCH(bool, availableBefore);
        QFETCH(QString, flag);
        QFETCH(bool, available);
        QVERIFY(Open(scenario));
        UseImages(folder == QLatin1String("images") ? QStringList{"mouse", "receiver"} : QStringList{});
        if (folder == QLatin1String("missing"))
            FirmwareImages::SetFolder(images_.path() + QStringLiteral("/missing"));
        ReceiverUpdateAvailable = availableBefore;
        const QString version = ShownDevices.first().receiverVersion;
        // What the pick itself decided, when the frame comes to the front: the
        // worker's own device-change handling may follow during the pick's wait.
        QList<QVariantList> hints;
        bool availableAtFrame = !available;
        connect(PostMsg::Instance(), &PostMsg::SigChangeMainDialog, chooser_.get(), [&](int page) {
            if (page != 1)
                return;
            hints = log_->Arguments("SigLabelTextB");
            availableAtFrame = ReceiverUpdateAvailable;
        });
        DialogChange::DeviceButtons.first()->click();
        QCOMPARE(hints, (QList<QVariantList>{{version, flag}}));
        QCOMPARE(availableAtFrame, available);
        QCOMPARE(bool(ReceiverUpdateAvailable), available);
    }

    // ---- Clicks on a list that changed ----------------------------------------------

    void aClickWhoseListWasRebuiltMeanwhile()
    {
        QVERIFY(Open(Scenario("repair-twins.json")));
        QPointer<mytoolButtonEnter> clicked = DialogChange::DeviceButtons.first();
        bool rebuilt = false;
        ModalAnswer answer([&](QWidget* dialog) {
            // While the pairing dialog runs, the other receiver goes: the
            // buttons are built again under the running click.
            QVERIFY(SimDevice_Plug("receiver", 0));
            rebuilt = QTest::qWaitFor([] { return ShownDevices.size() == 1; }, Patience);
            static_cast<QDialog*>(dialog)->reject();
        });
        clicked->click();
        QVERIFY(rebuilt);
        TRY_VERIFY(!clicked);
        QCOMPARE(int(DeviceChosen), 0);
        QCOMPARE(log_->Count("SigChangeMainDialog"), 0);
    }

    // The pick waits between showing the frame and starting the worker's pass,
    // and the window goes on meanwhile; when a device change brings the list
    // back during that wait, the pick ends: nothing is chosen, no pass runs.
    void listBackDuringThePickWait()
    {
        QVERIFY(Open(QString()));
        connect(PostMsg::Instance(), &PostMsg::SigChangeMainDialog, chooser_.get(), [](int page) {
            if (page == 1)
                QMetaObject::invokeMethod(
                    PostMsg::Instance(), [] { PostMsg::Instance()->PostChangeMainDialog(0); }, Qt::QueuedConnection);
        });
        DialogChange::DeviceButtons.first()->click();
        QCOMPARE(int(DeviceChosen), 0);
        QTest::qWait(200);
        QCOMPARE(int(chosenAtStart_), -1);
        QCOMPARE(log_->Arguments("SigChangeMainDialog"), (QList<QVariantList>{{1}, {0}}));
        QCOMPARE(log_->Count("SigUpDataParam"), 0);
    }

    void buttonOutsideTheList()
    {
        QVERIFY(Open(QString()));
        mytoolButtonEnter stale;
        stale.setObjectName(QStringLiteral("btn7"));
        connect(&stale, SIGNAL(clicked()), chooser_.get(), SLOT(slotButtonClicked()));
        stale.click();
        QCOMPARE(log_->Names(), QByteArrayList{"SigSetver"});
        QCOMPARE(int(DeviceChosen), 0);
    }

    // ---- The chooser's other buttons --------------------------------------------------

    // Every page with a page before it shows the left arrow, every page with
    // one after it the right arrow: the arrows walked to the last page and
    // back, for one to four pages.
    void pageArrows_data()
    {
        QTest::addColumn<int>("devices");
        QTest::addColumn<int>("pages");
        QTest::newRow("one page") << 3 << 1;
        QTest::newRow("two pages") << 4 << 2;
        QTest::newRow("three pages") << 7 << 3;
        QTest::newRow("four pages") << 10 << 4;
    }
    void pageArrows()
    {
        QFETCH(int, devices);
        QFETCH(int, pages);
        QVERIFY(Open(QString::fromUtf8(ReceiversScenario(devices))));
        QCOMPARE(Stack()->count(), pages);
        auto* left = Child<QAbstractButton>("LeftButton");
        auto* right = Child<QAbstractButton>("RightButton");
        auto* prompt = Child<QLabel>("label_2");
        auto* hint = Child<QLabel>("label_3");
        const auto check = [&](int page) {
            QCOMPARE(Stack()->currentIndex(), page);
            QCOMPARE(!left->isHidden(), page > 0);
            QCOMPARE(!right->isHidden(), page < pages - 1);
        };
        check(0);
        if (QTest::currentTestFailed())
            return;
        // Right to the last page, then left back to the first.
        QList<int> walk;
        for (int page = 1; page < pages; ++page)
            walk << page;
        for (int page = pages - 2; page >= 0; --page)
            walk << page;
        int current = 0;
        for (int page : qAsConst(walk)) {
            prompt->show();
            (page > current ? right : left)->click();
            check(page);
            if (QTest::currentTestFailed())
                return;
            QVERIFY(prompt->isHidden());
            QVERIFY(!hint->isHidden());
            current = page;
        }
    }

    void windowButtons()
    {
        QVERIFY(Open(QString()));
        QSignalSpy size(PostMsg::Instance(), &PostMsg::SigChangeSize);
        Child<QAbstractButton>("CloseButton")->click();
        Child<QAbstractButton>("MinButton")->click();
        QCOMPARE(size.size(), 2);
        QCOMPARE(size.at(0).first().toInt(), 3);
        QCOMPARE(size.at(1).first().toInt(), 2);
    }

    void popupButtons()
    {
        QVERIFY(Open(QString()));
        auto* popup = Child<QFrame>("FindVer");
        for (const char* name : {"CloseButton_2", "NewHong"}) {
            popup->show();
            Child<QAbstractButton>(name)->click();
            QVERIFY2(popup->isHidden(), name);
        }
        popup->show();
        auto* box = Child<QCheckBox>("NoApear");
        box->click();
        QCOMPARE(MacroIni::Instance()->GetValue(QStringLiteral("FindNew"), QStringLiteral("IsShow")),
                 QStringLiteral("1"));
        box->click();
        QCOMPARE(MacroIni::Instance()->GetValue(QStringLiteral("FindNew"), QStringLiteral("IsShow")),
                 QStringLiteral("0"));
        QVERIFY(!popup->isHidden());
    }

    void repairOpensTheUpdateDialog()
    {
        QVERIFY(Registry::Instance()->SetValue(Registry::UpdateFailInfoKey(), QStringLiteral("211,4")));
        QVERIFY(Open(QString()));
        QStringList steps;
        RepairStandIn repair;
        repair.resize(400, 260);
        repair.steps = &steps;
        RepairDialogTracker::Track(&repair);
        connect(PostMsg::Instance(), &PostMsg::SigRepairCheckUpdate, &repair,
                [&steps] { steps.append(QStringLiteral("check")); });
        Child<QAbstractButton>("Repair")->click();
        QCOMPARE(steps, (QStringList{"ResetView", "check", "shown"}));
        QCOMPARE(repair.windowModality(), Qt::ApplicationModal);
        QCOMPARE(repair.pos(), chooser_->mapToGlobal(QPoint(0, 0))
                                   + QPoint((chooser_->width() - 400) / 2, (chooser_->height() - 260) / 2));
        RepairDialogTracker::Track(nullptr);
        QVERIFY(Registry::Instance()->RemoveKey(Registry::UpdateFailInfoKey()));
        // Without the settings page's dialog nothing happens.
        Child<QAbstractButton>("Repair")->click();
    }

    // The language is stored before any window reloads; every live window
    // reloads, then the settings page's list follows.
    void languageList()
    {
        QVERIFY(Open(QString()));
        Match match;
        RePair question;
        QStringList order;
        connect(PostMsg::Instance(), &PostMsg::SigChangeLanguage, chooser_.get(), [&order](int index) {
            order << QStringLiteral("language %1, stored %2")
                         .arg(index)
                         .arg(MacroIni::Instance()->GetValue(QStringLiteral("Language"), QStringLiteral("Language")));
        });
        connect(PostMsg::Instance(), &PostMsg::SigLanguageSameB, chooser_.get(),
                [&order](int index) { order << QStringLiteral("same %1").arg(index); });
        QVERIFY(QMetaObject::invokeMethod(Child<QComboBox>("comboBox"), "activated", Q_ARG(int, 1)));
        QCOMPARE(order, (QStringList{"language 1, stored 1", "same 1"}));
        QCOMPARE(Child<QLabel>("label_3")->text(), QStringLiteral("点击图案进入使用"));
        QCOMPARE(match.findChild<QLabel*>(QStringLiteral("label"))->text(), QStringLiteral("无线模式下,才能进入配对"));
        QCOMPARE(question.findChild<QAbstractButton*>(QStringLiteral("OK"))->text(), QStringLiteral("确定"));
    }

    // The box of the language list names the stored language, also one of
    // the four its list does not offer; another language chosen elsewhere
    // (the settings page) is named too.
    void languageBoxNamesStoredLanguage_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::newRow("English") << 0 << "English" << 0;
        QTest::newRow("Simplified Chinese") << 1 << QString::fromUtf8("简体中文") << 1;
        QTest::newRow("Traditional Chinese") << 2 << QString::fromUtf8("繁體中文") << -1;
        QTest::newRow("Korean") << 3 << QString::fromUtf8("한국어") << -1;
        QTest::newRow("Russian") << 4 << QString::fromUtf8("Русский") << -1;
        QTest::newRow("Japanese") << 5 << QString::fromUtf8("日本語") << -1;
    }
    void languageBoxNamesStoredLanguage()
    {
        QFETCH(int, stored);
        QFETCH(QString, name);
        QFETCH(int, index);
        MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(stored));
        QVERIFY(Open(QString()));
        auto* box = Child<QComboBox>("comboBox");
        const auto shown = [box] { return box->currentIndex() >= 0 ? box->currentText() : box->placeholderText(); };
        QCOMPARE(box->currentIndex(), index);
        QCOMPARE(shown(), name);
        // The box is painted with the name, not empty.
        const QImage painted = box->grab().toImage();
        const QString placeholder = box->placeholderText();
        box->setPlaceholderText(QString());
        box->setCurrentIndex(-1);
        QVERIFY(box->grab().toImage() != painted);
        box->setPlaceholderText(placeholder);
        box->setCurrentIndex(index);
        if (stored == 0) {
            // Chosen on the settings page.
            PostMsg::Instance()->PostLanguageSameA(4);
            QCOMPARE(shown(), QString::fromUtf8("Русский"));
            PostMsg::Instance()->PostLanguageSameA(1);
            QCOMPARE(shown(), QString::fromUtf8("简体中文"));
        }
        MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QStringLiteral("0"));
    }
};

TALVIRE_TEST_MAIN(TestSelection)
#include "test_selection.moc"
