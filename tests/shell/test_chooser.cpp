// The device chooser over the simulated devices: discovery and identification,
// the pages of three with their positions, arrows, badges and link icons, the
// cabled mouse listed once, identical devices refused with the notice,
// plugging and unplugging (told on the library's thread, handled on the GUI
// thread), its texts, the Repair button and screenshots.
#include "core/DeviceListRules.h"
#include "core/MacroIni.h"
#include "core/PostMsg.h"
#include "core/SharedState.h"
#include "core/StyleSheet.h"
#include "dialogs/RepairDialogTracker.h"
#include "devicelib/SimDevice.h"
#include "platform/Registry.h"
#include "shell/DialogChange.h"
#include "shell/mytoolButtonEnter.h"
#include "tests/shell/ChooserTesting.h"
#include "widgets/MyConmboBox.h"

#include "tests/common/ModalAnswer.h"
#include "tests/common/Screenshot.h"
#include "tests/common/TestEnvironment.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>

#include <memory>

namespace {
void SetLanguage(int index)
{
    MacroIni::Instance()->SetValue(QStringLiteral("Language"), QStringLiteral("Language"), QString::number(index));
}

// One receiver with its mouse.
struct Receiver {
    int kind;
    QString pid;  // "" for the kind's own
    int model;    // of its mouse
};

// A scenario of receivers, each with a switched-on mouse.
QByteArray ReceiversScenario(const QVector<Receiver>& receivers)
{
    QStringList receiverItems;
    QStringList mouseItems;
    for (int i = 0; i < receivers.size(); ++i) {
        const Receiver& r = receivers.at(i);
        const QString address = QStringLiteral("%1:00:%2").arg(0x10 + i, 2, 16).arg(i, 2, 16, QLatin1Char('0'));
        QString pid = r.pid.isEmpty() ? QString() : QStringLiteral(", \"pid\": \"%1\"").arg(r.pid);
        receiverItems << QStringLiteral("{\"id\": \"r%1\", \"kind\": %2, \"address\": \"%3\"%4}")
                             .arg(i).arg(r.kind).arg(address, pid);
        mouseItems << QStringLiteral("{\"id\": \"m%1\", \"model\": %2, \"receiver\": \"r%1\"}").arg(i).arg(r.model);
    }
    return QStringLiteral("{\"receivers\": [%1], \"mice\": [%2]}")
        .arg(receiverItems.join(QStringLiteral(", ")), mouseItems.join(QStringLiteral(", ")))
        .toUtf8();
}

QString StyleOf(QWidget* widget)
{
    return widget ? widget->styleSheet() : QString();
}

// The page of the stacked widget that holds a device's button.
int PageOf(QStackedWidget* stack, QWidget* button)
{
    return stack->indexOf(button->parentWidget());
}

} // namespace

class TestChooser : public QObject {
    Q_OBJECT

    std::unique_ptr<DialogChange> chooser_;

    template <class T>
    T* Child(const char* name) const
    {
        return chooser_->findChild<T*>(QLatin1String(name));
    }
    QStackedWidget* Stack() const { return Child<QStackedWidget>("stackedWidget"); }
    QLabel* Prompt() const { return Child<QLabel>("label_2"); }
    QLabel* Hint() const { return Child<QLabel>("label_3"); }
    QToolButton* Right() const { return Child<QToolButton>("RightButton"); }
    QToolButton* Left() const { return Child<QToolButton>("LeftButton"); }

    // A chooser over the devices of a scenario ("" the default one, a file,
    // or a JSON text), once the library's first notice has been handled: it
    // hides the click hint when nothing is listed and builds buttons
    // otherwise.
    bool Open(const QString& scenario)
    {
        return OpenChooser(chooser_, scenario);
    }

    mytoolButtonEnter* Button(int index) const
    {
        return DialogChange::DeviceButtons.value(index);
    }

private slots:
    void init()
    {
        SetLanguage(0);
        Registry::Instance()->RemoveKey(Registry::UpdateFailInfoKey());
    }

    void cleanup()
    {
        chooser_.reset();
    }

    void cleanupTestCase()
    {
        SimDevice_Reset();
    }

    // ---- Discovery ------------------------------------------------------------

    void listsTheDefaultReceiver()
    {
        QVERIFY(Open(QString()));
        QCOMPARE(ShownDevices.size(), 1);
        QCOMPARE(IdentifiedDevices.size(), 1);
        const DeviceAllInfo info = ShownDevices.first();
        QCOMPARE(info.path, QString::fromLatin1(SimDevice_PathOf("receiver")));
        QCOMPARE(info.vid, QStringLiteral("3A17"));
        QCOMPARE(info.pid, QStringLiteral("5214"));
        QCOMPARE(info.receiverVersion, QStringLiteral("v1.2"));
        QCOMPARE(int(info.cid), 10);
        QCOMPARE(int(info.mid), 1);
        QCOMPARE(int(info.linkType), 1);
        QCOMPARE(info.modelIndex, 0);
        QVERIFY(!info.wired);
        QVERIFY(info.online);
        QCOMPARE(info.address, (QList<quint8>{0x5A, 0x3C, 0x11}));
        // The button of a known, answering device shows it lit, with the
        // receiver icon and the 4K badge.
        QVERIFY(StyleOf(Button(0)).contains(QStringLiteral("OnLine0.png")));
        QVERIFY(!DialogChange::LinkIcons.at(0)->isHidden());
        QVERIFY(DialogChange::OfflineMarkers.at(0)->isHidden());
        QCOMPARE(DialogChange::RateBadges.size(), 1);
        QVERIFY(StyleOf(DialogChange::RateBadges.at(0)).contains(QStringLiteral("4KHz.png")));
        QCOMPARE(DeviceListRules::ReceiverPidLists.at(0), (QStringList{"5211", "5221"}));
        QCOMPARE(DeviceListRules::UsbPidList, (QStringList{"5201", "5202"}));
    }

    // Devices report zero ids for a while; only the first nine answers count.
    void identificationWithinNineQueries_data()
    {
        QTest::addColumn<int>("zeroAnswers");
        QTest::addColumn<bool>("known");
        QTest::newRow("at once") << 0 << true;
        QTest::newRow("ninth answer") << 8 << true;
        QTest::newRow("tenth answer") << 9 << false;
        QTest::newRow("never within ten") << 12 << false;
    }
    void identificationWithinNineQueries()
    {
        QFETCH(int, zeroAnswers);
        QFETCH(bool, known);
        QVERIFY(SimDevice_Reset());
        QVERIFY(SimDevice_SetIdsAfterQueries("receiver", zeroAnswers));
        DeviceAllInfo info;
        info.path = QString::fromLatin1(SimDevice_PathOf("receiver"));
        QVERIFY(DialogChange::IdentifyDevice(info));
        const int total = 2;
        QCOMPARE(info.modelIndex, known ? 0 : total);
        QCOMPARE(int(info.cid), known ? 10 : 0);
        QCOMPARE(int(info.mid), known ? 1 : 0);
        QCOMPARE(info.online, known);
        // The link type read is kept either way.
        QCOMPARE(int(info.linkType), 1);
        QVERIFY(!info.wired);
    }

    void unknownDevicesAreListedAsUnknown()
    {
        // A mouse of a model the product does not describe, a mouse of
        // another customer, and a receiver whose ids come late.
        QVERIFY(Open(Scenario("unknown-ids.json")));
        QCOMPARE(ShownDevices.size(), 3);
        const int total = 2;
        // In search order: the 2K receiver (other customer), the 4K one
        // (unknown model), the 8K one (late ids).
        for (int i : {0, 1}) {
            QCOMPARE(ShownDevices.at(i).modelIndex, total);
            QCOMPARE(int(ShownDevices.at(i).cid), 0);
            QCOMPARE(int(ShownDevices.at(i).mid), 0);
            QVERIFY(StyleOf(Button(i)).contains(QStringLiteral("Unknow.png")));
            QVERIFY(!DialogChange::LinkIcons.at(i)->isHidden());
        }
        QCOMPARE(int(ShownDevices.at(1).linkType), 1);
        // The late receiver was listed as unknown; redrawing its entry asked
        // again and found its ids.
        QCOMPARE(ShownDevices.at(2).modelIndex, 0);
        QCOMPARE(IdentifiedDevices.at(2).modelIndex, 0);
        QVERIFY(StyleOf(Button(2)).contains(QStringLiteral("OnLine0.png")));
    }

    // ---- Pages -------------------------------------------------------------------

    void pagesOfThree_data()
    {
        QTest::addColumn<QByteArray>("scenario");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QVector<int>>("pageOf");
        QTest::addColumn<QVector<QPoint>>("buttons");
        QTest::addColumn<bool>("rightArrow");
        const Receiver k1{1, QString(), 1};
        const Receiver k2{2, QString(), 1};
        const Receiver k4{4, QString(), 1};
        const Receiver k8{8, QString(), 1};
        // Another product id of the 1K list with the second model.
        const Receiver k1b{1, QStringLiteral("5221"), 2};
        QTest::newRow("1 device") << ReceiversScenario({k4}) << 1 << QVector<int>{0}
                                  << QVector<QPoint>{{305, 0}} << false;
        QTest::newRow("3 devices") << ReceiversScenario({k1, k2, k4}) << 1 << QVector<int>{0, 0, 0}
                                   << QVector<QPoint>{{0, 0}, {300, 0}, {600, 0}} << false;
        QTest::newRow("4 devices") << ReceiversScenario({k1, k2, k4, k8}) << 2 << QVector<int>{0, 0, 0, 1}
                                   << QVector<QPoint>{{0, 0}, {300, 0}, {600, 0}, {305, 0}} << true;
        QTest::newRow("5 devices") << ReceiversScenario({k1, k1b, k2, k4, k8}) << 2
                                   << QVector<int>{0, 0, 0, 1, 1}
                                   << QVector<QPoint>{{0, 0}, {300, 0}, {600, 0}, {135, 0}, {445, 0}} << true;
    }
    void pagesOfThree()
    {
        QFETCH(QByteArray, scenario);
        QFETCH(int, pages);
        QFETCH(QVector<int>, pageOf);
        QFETCH(QVector<QPoint>, buttons);
        QFETCH(bool, rightArrow);
        QVERIFY(Open(QString::fromUtf8(scenario)));
        QCOMPARE(Stack()->count(), pages);
        QCOMPARE(Stack()->currentIndex(), 0);
        QCOMPARE(DialogChange::DeviceButtons.size(), buttons.size());
        QCOMPARE(DialogChange::OfflineMarkers.size(), buttons.size());
        QCOMPARE(DialogChange::LinkIcons.size(), buttons.size());
        QCOMPARE(DialogChange::RateBadges.size(), buttons.size());
        for (int i = 0; i < buttons.size(); ++i) {
            mytoolButtonEnter* button = Button(i);
            QCOMPARE(button->objectName(), QStringLiteral("btn%1").arg(i));
            QCOMPARE(PageOf(Stack(), button), pageOf.at(i));
            QCOMPARE(button->pos(), buttons.at(i));
            QCOMPARE(button->size(), QSize(284, 360));
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
            QLabel* marker = DialogChange::OfflineMarkers.at(i);
            QLabel* link = DialogChange::LinkIcons.at(i);
            QCOMPARE(marker->objectName(), QStringLiteral("label%1").arg(i));
            QCOMPARE(link->objectName(), QStringLiteral("UsbWifi%1").arg(i));
            QCOMPARE(marker->pos(), link->pos());
            QCOMPARE(marker->parentWidget(), button->parentWidget());
            QCOMPARE(DialogChange::RateBadges.at(i)->pos(), button->pos() + QPoint(7, 10));
        }
        // The second marker of a last page of two sits at 665.
        if (buttons.size() == 5) {
            QCOMPARE(DialogChange::LinkIcons.at(3)->pos(), QPoint(360, 20));
            QCOMPARE(DialogChange::LinkIcons.at(4)->pos(), QPoint(665, 20));
        } else {
            QCOMPARE(DialogChange::LinkIcons.at(0)->pos(), buttons.at(0) + QPoint(225, 20));
        }
        QCOMPARE(!Right()->isHidden(), rightArrow);
        QVERIFY(Left()->isHidden());
        QVERIFY(Prompt()->isHidden());
        QVERIFY(!Hint()->isHidden());
    }

    void badgesByReceiverKind()
    {
        QVERIFY(Open(Scenario("receiver-kinds.json")));
        QCOMPARE(ShownDevices.size(), 4);
        const QStringList pictures = {"1KHz.png", "2KHz.png", "4KHz.png", "8KHz.png"};
        QCOMPARE(DialogChange::RateBadges.size(), 4);
        for (int i = 0; i < 4; ++i) {
            QLabel* badge = DialogChange::RateBadges.at(i);
            QVERIFY2(StyleOf(badge).contains(pictures.at(i)), qPrintable(StyleOf(badge)));
            QCOMPARE(badge->size(), QSize(42, 26));
            QVERIFY(StyleOf(DialogChange::LinkIcons.at(i)).contains(QStringLiteral("OnLineWifi.png")));
        }
        QCOMPARE(DialogChange::RateBadges.at(0)->pos(), QPoint(7, 10));
        QCOMPARE(DialogChange::RateBadges.at(3)->pos(), QPoint(312, 10));
    }

    // Every picture an online device's entry shows as the list is first
    // built (its state, its link, its receiver's rate) is one decoded ahead
    // while the program starts: the GUI thread decodes none of them itself
    // before the list is painted. (A device asleep or unknown has a picture
    // as large as the usual one: decoded when shown.)
    void entryPicturesAreDecodedAhead_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("default receiver") << QString();
        QTest::newRow("every receiver kind") << Scenario("receiver-kinds.json");
        QTest::newRow("cabled mouse") << Scenario("cable-and-receiver.json");
    }
    void entryPicturesAreDecodedAhead()
    {
        QFETCH(QString, scenario);
        QVERIFY(Open(scenario));
        QVERIFY(!ShownDevices.isEmpty());
        const QStringList ahead = DialogChange::PicturesAtStart();
        const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
        QList<QWidget*> entries;
        for (QWidget* widget : DialogChange::DeviceButtons)
            entries << widget;
        for (QWidget* widget : DialogChange::LinkIcons)
            entries << widget;
        for (QWidget* widget : DialogChange::RateBadges)
            entries << widget;
        int pictures = 0;
        for (QWidget* entry : qAsConst(entries)) {
            auto match = url.globalMatch(StyleOf(entry));
            while (match.hasNext()) {
                const QString file = match.next().captured(1);
                QVERIFY2(ahead.contains(file), qPrintable(file));
                ++pictures;
            }
        }
        QVERIFY(pictures >= 2 * ShownDevices.size());
    }

    void cabledMouseIsListedOnce()
    {
        // The mouse on its cable and through its receiver.
        QVERIFY(Open(Scenario("cable-and-receiver.json")));
        QCOMPARE(ShownDevices.size(), 1);
        QVERIFY(ShownDevices.first().wired);
        QCOMPARE(Stack()->count(), 1);
        QCOMPARE(Button(0)->pos(), QPoint(305, 0));
        QVERIFY(DialogChange::RateBadges.isEmpty());
        QVERIFY(StyleOf(DialogChange::LinkIcons.at(0)).contains(QStringLiteral("OnLineUsb.png")));
        QVERIFY(!DialogChange::LinkIcons.at(0)->isHidden());
        // Every identified device is kept, the receiver too.
        QCOMPARE(IdentifiedDevices.size(), 2);
        QVERIFY(IdentifiedDevices.at(0).wired);
        QVERIFY(!IdentifiedDevices.at(1).wired);
        QCOMPARE(IdentifiedDevices.at(1).path, QString::fromLatin1(SimDevice_PathOf("receiver")));
    }

    void refreshesReachIdentifiedDevicesByPath()
    {
        // A model-1 mouse on its cable and on its receiver, and a model-2
        // receiver: the shown list leaves the first receiver out, so its
        // positions differ from those of the identified list.
        QVERIFY(Open(QStringLiteral(
            "{\"receivers\": [{\"id\": \"r1\", \"kind\": 1, \"address\": \"5A:3C:11\"},"
            " {\"id\": \"r2\", \"kind\": 2, \"address\": \"6B:4D:22\"}],"
            " \"mice\": [{\"id\": \"m1\", \"model\": 1, \"receiver\": \"r1\", \"cable\": true},"
            " {\"id\": \"m2\", \"model\": 2, \"receiver\": \"r2\"}]}")));
        QCOMPARE(ShownDevices.size(), 2);
        QCOMPARE(IdentifiedDevices.size(), 3);
        const QString cable = QString::fromLatin1(SimDevice_PathOf("m1"));
        const QString r1 = QString::fromLatin1(SimDevice_PathOf("r1"));
        const QString r2 = QString::fromLatin1(SimDevice_PathOf("r2"));
        QCOMPARE(ShownDevices.at(1).path, r2);
        QVERIFY(DialogChange::RefreshDeviceEntry(1));
        QVERIFY(DialogChange::RefreshDeviceStatusBytes(1));
        QCOMPARE(IdentifiedDevices.at(0).path, cable);
        QCOMPARE(IdentifiedDevices.at(1).path, r1);
        QCOMPARE(IdentifiedDevices.at(2).path, r2);
        QCOMPARE(IdentifiedDevices.at(1).modelIndex, 0);
        QCOMPARE(IdentifiedDevices.at(2).modelIndex, 1);
        QCOMPARE(IdentifiedDevices.at(2).address, (QList<quint8>{0x6B, 0x4D, 0x22}));
    }

    void identicalDevicesAreRefused_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("two receivers of one kind and model") << Scenario("twin-receivers.json");
        QTest::newRow("two cabled mice of one model")
            << QStringLiteral("{\"mice\": [{\"id\": \"a\", \"model\": 1, \"cable\": true},"
                              " {\"id\": \"b\", \"model\": 1, \"cable\": true}]}");
        QTest::newRow("two unknown receivers of one kind")
            << QStringLiteral("{\"receivers\": [{\"id\": \"a\", \"kind\": 4, \"address\": \"11:11:11\"},"
                              " {\"id\": \"b\", \"kind\": 4, \"address\": \"22:22:22\"}]}");
    }
    void identicalDevicesAreRefused()
    {
        QFETCH(QString, scenario);
        QPoint noticeAt;
        QPoint expected;
        ModalAnswer answer([this, &noticeAt, &expected](QWidget* dialog) {
            noticeAt = dialog->pos();
            expected = chooser_->mapToGlobal(QPoint(0, 0))
                + QPoint((chooser_->width() - dialog->width()) / 2, (chooser_->height() - dialog->height()) / 2);
            dialog->findChild<QAbstractButton*>(QStringLiteral("CloseButton"))->click();
        });
        QVERIFY(Open(scenario));
        TRY_COMPARE(answer.DialogClass(), QStringLiteral("QuestiondialogB"));
        TRY_VERIFY(!QApplication::activeModalWidget());
        QCOMPARE(noticeAt, expected);
        QCOMPARE(ShownDevices.size(), 2);
        QCOMPARE(Stack()->count(), 0);
        QVERIFY(DialogChange::DeviceButtons.isEmpty());
        QVERIFY(DialogChange::OfflineMarkers.isEmpty());
        QVERIFY(DialogChange::LinkIcons.isEmpty());
        QVERIFY(DialogChange::RateBadges.isEmpty());
        QVERIFY(Right()->isHidden());
        QVERIFY(Left()->isHidden());
        QVERIFY(!Prompt()->isHidden());
        QVERIFY(Hint()->isHidden());
        // Listed devices without buttons: a redraw has nothing to draw on.
        QVERIFY(DialogChange::RefreshDeviceEntry(1));
    }

    // ---- Changes ----------------------------------------------------------------

    void pluggingAndUnpluggingRebuildsTheList()
    {
        QVERIFY(Open(QString()));
        QCOMPARE(DialogChange::DeviceButtons.size(), 1);
        QPointer<QWidget> oldButton = Button(0);
        QPointer<QWidget> oldMarker = DialogChange::OfflineMarkers.at(0);
        QPointer<QWidget> oldLink = DialogChange::LinkIcons.at(0);
        QPointer<QWidget> oldBadge = DialogChange::RateBadges.at(0);
        QPointer<QWidget> oldPage = Stack()->widget(0);

        // The mouse's cable: it is now listed as the cabled device.
        QVERIFY(SimDevice_Plug("mouse", 1));
        TRY_VERIFY(!ShownDevices.isEmpty() && ShownDevices.first().wired && Button(0));
        TRY_VERIFY(!oldButton && !oldMarker && !oldLink && !oldBadge && !oldPage);
        QCOMPARE(chooser_->findChildren<mytoolButtonEnter*>().size(), 1);
        QCOMPARE(chooser_->findChildren<QLabel*>(QRegularExpression(QStringLiteral("^(label|UsbWifi)\\d+$"))).size(),
                 2);
        QCOMPARE(Stack()->count(), 1);
        // Built on the GUI thread, whatever thread the library told it on.
        QCOMPARE(Button(0)->thread(), qApp->thread());
        QCOMPARE(Stack()->widget(0)->thread(), qApp->thread());

        // Unplug both: the prompt to connect a device.
        QVERIFY(SimDevice_Plug("receiver", 0));
        QVERIFY(SimDevice_Plug("mouse", 0));
        TRY_VERIFY(!Prompt()->isHidden());
        TRY_COMPARE(Stack()->count(), 0);
        QVERIFY(Hint()->isHidden());
        QVERIFY(ShownDevices.isEmpty());
        QVERIFY(DialogChange::DeviceButtons.isEmpty());
        TRY_COMPARE(chooser_->findChildren<mytoolButtonEnter*>().size(), 0);

        // The receiver back.
        QVERIFY(SimDevice_Plug("receiver", 1));
        TRY_COMPARE(DialogChange::DeviceButtons.size(), 1);
        QVERIFY(!ShownDevices.first().wired);
        QVERIFY(Prompt()->isHidden());
        QVERIFY(!Hint()->isHidden());
    }

    void aBurstOfChangesEndsInTheLastState()
    {
        QVERIFY(Open(QString()));
        // The cable in and out quickly, ending plugged: the cabled mouse is
        // listed, once.
        for (int i = 0; i < 10; ++i)
            QVERIFY(SimDevice_Plug("mouse", i % 2 == 0));
        QVERIFY(SimDevice_Plug("mouse", 1));
        TRY_VERIFY(ShownDevices.size() == 1 && ShownDevices.first().wired && IdentifiedDevices.size() == 2);
        QTest::qWait(100);
        QCOMPARE(ShownDevices.size(), 1);
        QCOMPARE(DialogChange::DeviceButtons.size(), 1);
        TRY_COMPARE(chooser_->findChildren<mytoolButtonEnter*>().size(), 1);
    }

    void noticesAfterTheChooserIsGoneChangeNothing()
    {
        QVERIFY(Open(QString()));
        chooser_.reset();
        QVERIFY(!DialogChange::Chooser());
        QVERIFY(DialogChange::DeviceButtons.isEmpty());
        QVERIFY(SimDevice_Plug("receiver", 0));
        QTest::qWait(100);
        QCOMPARE(ShownDevices.size(), 1);
    }

    void hoverRedrawsTheEntryAndIgnoresStaleButtons()
    {
        QVERIFY(Open(QString()));
        // The mouse goes to sleep: hovering its button asks again.
        QVERIFY(SimDevice_SetPower("mouse", 0));
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(Button(0), &enter);
        QVERIFY(!ShownDevices.first().online);
        QVERIFY(SimDevice_SetPower("mouse", 1));
        QApplication::sendEvent(Button(0), &enter);
        QVERIFY(ShownDevices.first().online);
        QVERIFY(StyleOf(Button(0)).contains(QStringLiteral("OnLine0.png")));
        QVERIFY(DialogChange::OfflineMarkers.at(0)->isHidden());

        // Buttons or indices the list does not have change nothing.
        const QList<DeviceAllInfo> before = ShownDevices;
        mytoolButtonEnter stale;
        stale.setObjectName(QStringLiteral("btn7"));
        QApplication::sendEvent(&stale, &enter);
        QVERIFY(DialogChange::RefreshDeviceEntry(-1));
        QVERIFY(DialogChange::RefreshDeviceEntry(1));
        QVERIFY(!DialogChange::RefreshDeviceStatusBytes(1));
        QVERIFY(!DialogChange::RefreshDeviceStatusBytes(-1));
        QCOMPARE(ShownDevices.size(), before.size());
        QCOMPARE(ShownDevices.first().path, before.first().path);
        QCOMPARE(mytoolButtonEnter::IndexOf(QStringLiteral("btn12")), 12);
        QCOMPARE(mytoolButtonEnter::IndexOf(QStringLiteral("button")), -1);
    }

    // A receiver whose mouse has answered once names it while the mouse
    // sleeps: the device is listed as that model, dimmed, with the offline
    // marker in place of the link icon.
    void identifiedDeviceThatDoesNotAnswerIsMarkedOffline_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("index");
        QTest::newRow("mouse switched off after listing") << QString() << 0;
        QTest::newRow("receiver of an earlier mouse") << Scenario("repair-twins.json") << 0;
    }
    void identifiedDeviceThatDoesNotAnswerIsMarkedOffline()
    {
        QFETCH(QString, scenario);
        QFETCH(int, index);
        QVERIFY(Open(scenario));
        if (scenario.isEmpty()) {
            QVERIFY(ShownDevices.at(index).online);
            QVERIFY(SimDevice_SetPower("mouse", 0));
            DialogChange::UsbChangedCallback();
        }
        const DeviceAllInfo info = ShownDevices.at(index);
        QCOMPARE(info.modelIndex, 0);
        QCOMPARE(int(info.mid), 1);
        QVERIFY(!info.online);
        QVERIFY(StyleOf(Button(index)).contains(QStringLiteral("DisOnlin0.png")));
        QVERIFY(!DialogChange::OfflineMarkers.at(index)->isHidden());
        QVERIFY(DialogChange::LinkIcons.at(index)->isHidden());
        QCOMPARE(DialogChange::OfflineMarkers.at(index)->toolTip(),
                 QStringLiteral("The mouse is offline.\nMove the mouse to wake it up."));
        if (!scenario.isEmpty())
            QVERIFY(!SaveScreenshot(chooser_.get(), QStringLiteral("chooser-offline-en")).isEmpty());
    }

    void modelIndicesOutsideTheProductAreNotCounted()
    {
        QVERIFY(Open(QString()));
        DeviceAllInfo far = ShownDevices.first();
        far.modelIndex = 40;
        DeviceAllInfo below = far;
        below.modelIndex = -1;
        ShownDevices = {far, below};
        DialogChange::BuildDevicePages();
        QCOMPARE(DialogChange::DeviceButtons.size(), 2);
        QCOMPARE(Stack()->count(), 1);
    }

    void clicksOnTheLowerEdgeReachTheButton()
    {
        QVERIFY(Open(QString()));
        QVERIFY(QTest::qWaitForWindowExposed(chooser_.get(), DefaultTestLimit()));
        // The click hint lies over the lower edge of the device buttons.
        const QPoint point = Stack()->mapTo(chooser_.get(), Button(0)->geometry().bottomLeft()) + QPoint(142, -8);
        QVERIFY(Hint()->geometry().contains(point));
        QSignalSpy clicked(Button(0), &QToolButton::clicked);
        QTest::mouseClick(chooser_->windowHandle(), Qt::LeftButton, Qt::NoModifier, point);
        QCOMPARE(clicked.size(), 1);
    }

    // ---- Texts, Repair, keys ------------------------------------------------------

    void texts_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("comboIndex");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("tips");
        QTest::newRow("English") << 0 << 0 << "Click a picture to start" << "Please connect your gaming device"
                                 << "The mouse is offline.\nMove the mouse to wake it up.";
        QTest::newRow("Simplified Chinese") << 1 << 1 << QStringLiteral("点击图案进入使用")
                                            << QStringLiteral("请接入你的游戏装备")
                                            << QStringLiteral("鼠标已离线。\n请移动鼠标将其唤醒。");
        // Languages the list does not hold select no entry.
        QTest::newRow("Korean") << 3 << -1 << QStringLiteral("그림을 클릭하여 시작하세요")
                                << QStringLiteral("게임 장치를 연결해 주세요")
                                << QStringLiteral("마우스가 오프라인입니다.\n마우스를 움직여 깨워 주세요.");
        QTest::newRow("unknown index reads English") << 7 << -1 << "Click a picture to start"
                                                     << "Please connect your gaming device"
                                                     << "The mouse is offline.\nMove the mouse to wake it up.";
    }
    void texts()
    {
        QFETCH(int, language);
        QFETCH(int, comboIndex);
        QFETCH(QString, hint);
        QFETCH(QString, prompt);
        QFETCH(QString, tips);
        SetLanguage(language);
        QVERIFY(Open(QString()));
        QCOMPARE(Child<MyConmboBox>("comboBox")->currentIndex(), comboIndex);
        QCOMPARE(Hint()->text(), hint);
        QCOMPARE(Prompt()->text(), prompt);
        QCOMPARE(DialogChange::OfflineMarkers.at(0)->toolTip(), tips);
        QVERIFY(DialogChange::LinkIcons.at(0)->toolTip().isEmpty());
        QVERIFY(!MouseIsNewTipsText.isEmpty());
    }

    void languageChangeReachesTheChooser()
    {
        QVERIFY(Open(QString()));
        QCOMPARE(Child<QLabel>("FindVerlaebl")->text(), QStringLiteral("New firmware is available. Please update."));
        SetLanguage(1);
        PostMsg::Instance()->PostChangeLanguage(1);
        QCOMPARE(Hint()->text(), QStringLiteral("点击图案进入使用"));
        QCOMPARE(Child<QLabel>("FindVerlaebl")->text(), QStringLiteral("发现新固件,请更新!"));
        QCOMPARE(Child<QToolButton>("NewHong")->text(), QStringLiteral("确定"));
        QCOMPARE(Child<QCheckBox>("NoApear")->text(), QStringLiteral("下次不再显示"));
        QCOMPARE(DialogChange::OfflineMarkers.at(0)->toolTip(), QStringLiteral("鼠标已离线。\n请移动鼠标将其唤醒。"));
        QCOMPARE(MouseIsNewTipsText, QStringLiteral("鼠标固件已是最新,是否现在更新接收器固件?"));
        // The settings page's list follows: so does this one.
        PostMsg::Instance()->PostLanguageSameA(1);
        QCOMPARE(Child<MyConmboBox>("comboBox")->currentIndex(), 1);

        // A translator change puts the form's own texts back.
        QEvent change(QEvent::LanguageChange);
        QApplication::sendEvent(chooser_.get(), &change);
        auto* combo = Child<MyConmboBox>("comboBox");
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(1), QStringLiteral("简体中文"));
        QCOMPARE(Hint()->text(), QStringLiteral("点击图案进入使用"));
    }

    void repairButtonFollowsTheFailedUpdate()
    {
        QVERIFY(Registry::Instance()->SetValue(Registry::UpdateFailInfoKey(), QStringLiteral("211,4")));
        chooser_.reset();
        QVERIFY(SimDevice_LoadScenario("{\"receivers\": [], \"mice\": []}"));
        chooser_ = std::make_unique<DialogChange>();
        // Shown at once; the prompt changes with the first device notice.
        QVERIFY(!Child<QPushButton>("Repair")->isHidden());
        QCOMPARE(Prompt()->text(), QStringLiteral("Please connect your gaming device"));
        chooser_->show();
        const QString repairText =
            QStringLiteral("A firmware update did not finish. Click Repair (the wrench at the top) to restore the device");
        TRY_COMPARE(Prompt()->text(), repairText);
        QVERIFY(!Child<QPushButton>("Repair")->isHidden());
        // The wrench the prompt speaks of is named where the pointer rests on
        // it, and changes its look there.
        QCOMPARE(Child<QPushButton>("Repair")->toolTip(), QStringLiteral("Repair: finish the interrupted firmware update"));
        QVERIFY(Child<QPushButton>("Repair")->styleSheet().contains(QStringLiteral("#Repair:hover")));
        QVERIFY(QFile::exists(StyleSheet::PictureFolder(QStringLiteral("DialogChange")) + QStringLiteral("RepairHover.png")));
        PostMsg::Instance()->PostChangeLanguage(4);
        QCOMPARE(Child<QPushButton>("Repair")->toolTip(),
                 QStringLiteral("Восстановить: завершить прерванное обновление прошивки"));
        PostMsg::Instance()->PostChangeLanguage(0);

        PostMsg::Instance()->PostUpDateButton(true);
        QVERIFY(Child<QPushButton>("Repair")->isHidden());
        QCOMPARE(Prompt()->text(), QStringLiteral("Please connect your gaming device"));
        PostMsg::Instance()->PostUpDateButton(false);
        QVERIFY(!Child<QPushButton>("Repair")->isHidden());
        QCOMPARE(Prompt()->text(), repairText);

        // Repaired: the next notice hides it again.
        QVERIFY(Registry::Instance()->RemoveKey(Registry::UpdateFailInfoKey()));
        DialogChange::UsbChangedCallback();
        QVERIFY(Child<QPushButton>("Repair")->isHidden());
        QCOMPARE(Prompt()->text(), QStringLiteral("Please connect your gaming device"));
    }

    // The record of an upgrade is written before it starts: while this
    // program's update or repair runs, the list does not call it unfinished;
    // a record no running upgrade owns (a crash ended it) shows the wrench.
    void repairButtonNotForARunningUpgrade_data()
    {
        QTest::addColumn<bool>("updating");
        QTest::addColumn<bool>("repairing");
        QTest::addColumn<bool>("shown");
        QTest::newRow("ended by a crash") << false << false << true;
        QTest::newRow("update running") << true << false << false;
        QTest::newRow("repair running") << false << true << false;
    }

    void repairButtonNotForARunningUpgrade()
    {
        QFETCH(bool, updating);
        QFETCH(bool, repairing);
        QFETCH(bool, shown);
        QVERIFY(Registry::Instance()->SetValue(Registry::UpdateFailInfoKey(), QStringLiteral("211,4,10,1")));
        const auto restore = qScopeGuard([] {
            FirmwareUpdateRunning = false;
            RepairUpgradeRunning = false;
            Registry::Instance()->RemoveKey(Registry::UpdateFailInfoKey());
        });
        chooser_.reset();
        QVERIFY(SimDevice_LoadScenario("{\"receivers\": [], \"mice\": []}"));
        chooser_ = std::make_unique<DialogChange>();
        chooser_->show();
        FirmwareUpdateRunning = updating;
        RepairUpgradeRunning = repairing;
        DialogChange::UsbChangedCallback();
        QCOMPARE(!Child<QPushButton>("Repair")->isHidden(), shown);
    }

    void openRepairDialogLooksAgain_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("repairing");
        QTest::addColumn<bool>("asked");
        QTest::newRow("shown") << true << false << true;
        QTest::newRow("repairing") << true << true << false;
        QTest::newRow("hidden") << false << false << false;
    }
    void openRepairDialogLooksAgain()
    {
        QFETCH(bool, shown);
        QFETCH(bool, repairing);
        QFETCH(bool, asked);
        QVERIFY(Open(QString()));
        QWidget repair;
        RepairDialogTracker::Track(&repair);
        repair.setVisible(shown);
        RepairUpgradeRunning = repairing;
        QSignalSpy check(PostMsg::Instance(), SIGNAL(SigRepairCheckUpdate()));
        QVERIFY(SimDevice_Plug("receiver", 0));
        TRY_VERIFY(ShownDevices.isEmpty());
        QCOMPARE(check.size(), asked ? 1 : 0);
        RepairUpgradeRunning = false;
    }

    void enterClosesThePopup()
    {
        QVERIFY(Open(QString()));
        auto* popup = Child<QFrame>("FindVer");
        QVERIFY(popup->isHidden());
        QCOMPARE(popup->geometry(), QRect(350, 300, 300, 140));
        popup->show();
        PostMsg::Instance()->PostEnterKey();
        QVERIFY(popup->isHidden());
        // Nothing to close and no repair waiting: nothing happens.
        PostMsg::Instance()->PostEnterKey();
        QVERIFY(popup->isHidden());
    }

    // ---- Looks -----------------------------------------------------------------

    void screenshots_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<bool>("repair");
        QTest::addColumn<QString>("name");
        const QString none = QStringLiteral("{\"receivers\": [], \"mice\": []}");
        QTest::newRow("one, English") << 0 << QString() << false << "chooser-one-en";
        QTest::newRow("four, English") << 0 << Scenario("receiver-kinds.json") << false << "chooser-four-en";
        QTest::newRow("one, Chinese") << 1 << QString() << false << "chooser-one-zh";
        QTest::newRow("four, Chinese") << 1 << Scenario("receiver-kinds.json") << false << "chooser-four-zh";
        QTest::newRow("none, English") << 0 << none << false << "chooser-none-en";
        QTest::newRow("repair, Chinese") << 1 << none << true << "chooser-repair-zh";
        QTest::newRow("unknown, English") << 0 << Scenario("unknown-ids.json") << false << "chooser-unknown-en";
    }
    void screenshots()
    {
        QFETCH(int, language);
        QFETCH(QString, scenario);
        QFETCH(bool, repair);
        QFETCH(QString, name);
        SetLanguage(language);
        if (repair)
            QVERIFY(Registry::Instance()->SetValue(Registry::UpdateFailInfoKey(), QStringLiteral("210,1")));
        QVERIFY(Open(scenario));
        QVERIFY(!SaveScreenshot(chooser_.get(), name).isEmpty());
    }

    void languageListScreenshot()
    {
        QVERIFY(Open(QString()));
        auto* combo = Child<MyConmboBox>("comboBox");
        combo->showPopup();
        QWidget* popup = combo->view()->window();
        TRY_VERIFY(popup->isVisible());
        QCOMPARE(combo->maxVisibleItems(), 5);
        QVERIFY(!SaveScreenshot(popup, QStringLiteral("chooser-language-list")).isEmpty());
        combo->hidePopup();
    }
};

TALVIRE_TEST_MAIN(TestChooser)
#include "test_chooser.moc"
