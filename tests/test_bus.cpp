// The signal bus: its signals, their send methods, the one instance, and the
// blocking connections that carry images and device state from other threads.
#include "core/DeviceAllInfo.h"
#include "core/DongleRGB.h"
#include "core/FlashDataMap.h"
#include "core/PostMsg.h"
#include "tests/common/OtherThread.h"
#include "tests/common/TestEnvironment.h"
#include "tests/common/TestImages.h"

#include <QApplication>
#include <QMetaMethod>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <functional>

#if defined(__SANITIZE_THREAD__)
#define TALVIRE_TEST_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TALVIRE_TEST_THREAD_SANITIZER 1
#endif
#endif

using PostCall = std::function<void(PostMsg&)>;
Q_DECLARE_METATYPE(PostCall)

namespace {
bool SameArgument(const QVariant& a, const QVariant& b)
{
    if (a.userType() != b.userType())
        return false;
    if (a.userType() == qMetaTypeId<FlashDataMap>())
        return SameImage(a.value<FlashDataMap>(), b.value<FlashDataMap>());
    if (a.userType() == qMetaTypeId<DongleRGB*>())
        return a.value<DongleRGB*>() == b.value<DongleRGB*>();
    if (a.userType() == qMetaTypeId<DeviceAllInfo>()) {
        const DeviceAllInfo x = a.value<DeviceAllInfo>();
        const DeviceAllInfo y = b.value<DeviceAllInfo>();
        return x.path == y.path && x.cid == y.cid && x.mid == y.mid && x.linkType == y.linkType;
    }
    return a == b;
}

QList<QMetaMethod> BusSignals()
{
    QList<QMetaMethod> result;
    const QMetaObject& meta = PostMsg::staticMetaObject;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        result.append(meta.method(i));
    return result;
}

const FlashDataMap SentImage = PatternImage(7);
DongleRGB LightRecord;

DeviceAllInfo SomeDevice()
{
    DeviceAllInfo info;
    info.path = QStringLiteral("/dev/hidraw-test");
    info.cid = 0x10;
    info.mid = 0x02;
    info.linkType = 5;
    return info;
}
} // namespace

// Stands in for the pages: the slots that the thirteen blocking connections
// reach, each recording what it saw. A slot takes a little time, so an emitter
// that did not wait would return before it had run.
class PageStandIn : public QObject {
    Q_OBJECT
public:
    std::atomic<int> calls{0};
    QThread* ranOn = nullptr;
    QVariantList seen;
    QList<QVariantList> history;

public slots:
    void SlotBattery(bool charging, int level, bool show) { Record({charging, level, show}); }
    void SlotUpDataSenSorUISensor(FlashDataMap image) { Record({QVariant::fromValue(image)}); }
    void SlotFormReset() { Record({}); }
    void SlotUpDataReportRate(int code) { Record({code}); }
    void SlotUpDataDPI(int stage) { Record({stage}); }
    void SlotUpDataDPILed(FlashDataMap image) { Record({QVariant::fromValue(image)}); }
    void SlotUpDataButtonUIButton(FlashDataMap image) { Record({QVariant::fromValue(image)}); }
    void SlotUpDataConfigUI(int count, int current, bool enabled) { Record({count, current, enabled}); }
    void SlotFormResetButton() { Record({}); }
    void SlotRGBValue(DongleRGB* record) { Record({QVariant::fromValue(record)}); }
    void SlotLongRangeMode(bool on) { Record({on}); }
    void SlotForm() { Record({}); }
    void SlotFormResetForm() { Record({}); }

private:
    void Record(const QVariantList& arguments)
    {
        QThread::msleep(20);
        seen = arguments;
        history.append(arguments);
        ranOn = QThread::currentThread();
        ++calls;
    }
};

// Writes its value when it gets a user event. The atomics are relaxed: they
// order nothing for ThreadSanitizer.
class ValueWriter : public QObject {
public:
    int value = 0;
    std::atomic<int> seen{-1};
    std::atomic<bool> written{false};

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        value = 1;
        written.store(true, std::memory_order_relaxed);
        return true;
    }
};

class BusTest : public QObject {
    Q_OBJECT

private slots:
    void instanceIsOneObject()
    {
        PostMsg* const first = PostMsg::Instance();
        QVERIFY(first);
        QCOMPARE(PostMsg::Instance(), first);
        QCOMPARE(first->parent(), nullptr);

        std::atomic<PostMsg*> fromOtherThread{nullptr};
        QVERIFY(RunOnOtherThread([&] { fromOtherThread = PostMsg::Instance(); }));
        QCOMPARE(fromOtherThread.load(), first);
    }

    void busHasOnlyItsSignals()
    {
        const QList<QMetaMethod> methods = BusSignals();
        QCOMPARE(methods.size(), 56);
        for (const QMetaMethod& method : methods)
            QVERIFY2(method.methodType() == QMetaMethod::Signal, method.methodSignature().constData());
    }

    void signalAndSendMethod_data()
    {
        QTest::addColumn<int>("place");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArrayList>("types");
        QTest::addColumn<PostCall>("post");
        QTest::addColumn<QVariantList>("arguments");

        const QVariant image = QVariant::fromValue(SentImage);
        const QVariant record = QVariant::fromValue(&LightRecord);
        const QVariant device = QVariant::fromValue(SomeDevice());
        const QByteArrayList none;
        const QByteArrayList oneInt{"int"};
        const QByteArrayList oneImage{"FlashDataMap"};
        const QByteArrayList oneText{"QString"};
        const QByteArrayList textInt{"QString", "int"};
        const QByteArrayList twoTexts{"QString", "QString"};
        const QString a = QStringLiteral("Macro 1");
        const QString b = QStringLiteral("Macro 2");
        // The rows are in the order of the signals on the bus.
        int place = 0;
        auto row = [&place](const char* name, const QByteArrayList& types, PostCall post, const QVariantList& args) {
            QTest::newRow(name) << place++ << QByteArray(name) << types << post << args;
        };

        row("SigChangeMainDialog", oneInt, [](PostMsg& m) { m.PostChangeMainDialog(1); }, {1});
        row("SigChangeSize", oneInt, [](PostMsg& m) { m.PostChangeSize(3); }, {3});
        row("SigUpDataConfigUI", {"int", "int", "bool"}, [](PostMsg& m) { m.PostUpDataConfigUI(4, 2, true); }, {4, 2, true});
        row("SigUpDataLightUIButton", oneImage, [](PostMsg& m) { m.PostUpDataLightUIButton(SentImage); }, {image});
        row("SigUpDataLightLight", oneImage, [](PostMsg& m) { m.PostUpDataLightLight(SentImage); }, {image});
        row("SigUpDataLightSensor", oneImage, [](PostMsg& m) { m.PostUpDataLightSensor(SentImage); }, {image});
        row("SigUpDataLightUIA", oneImage, [](PostMsg& m) { m.PostUpDataLightUIA(SentImage); }, {image});
        row("SigUpDataSensorUIB", oneImage, [](PostMsg& m) { m.PostUpDataSensorUIB(SentImage); }, {image});
        row("SigUpDataButtonUIC", oneImage, [](PostMsg& m) { m.PostUpDataButtonUIC(SentImage); }, {image});
        row("SigButtonToMacro", {"FlashDataMap", "int"}, [](PostMsg& m) { m.PostButtonToMacro(SentImage, 15); }, {image, 15});
        row("SigSelectMouseInfo", {"DeviceAllInfo"}, [](PostMsg& m) { m.PostSelectMouseInfo(SomeDevice()); }, {device});
        row("SigMouseOffLineo", oneInt, [](PostMsg& m) { m.PostMouseOffLineo(0); }, {0});
        row("SigMainPageChange", none, [](PostMsg& m) { m.PostMainPageChange(); }, {});
        row("SigSecondPageChange", none, [](PostMsg& m) { m.PostSecondPageChange(); }, {});
        row("SigUpPageLight", none, [](PostMsg& m) { m.PostUpPageLight(); }, {});
        row("SigAddMacroButton", none, [](PostMsg& m) { m.PostAddMacroButton(); }, {});
        row("SigDeleteMacroButton", oneText, [a](PostMsg& m) { m.PostDeleteMacroButton(a); }, {a});
        row("SigMacroDownLoadData", textInt, [a](PostMsg& m) { m.PostMacroDownLoadData(a, 3); }, {a, 3});
        row("SigUpDataMacro", textInt, [b](PostMsg& m) { m.PostUpDataMacro(b, 5); }, {b, 5});
        row("SigUpDataParam", oneInt, [](PostMsg& m) { m.PostUpDataParam(2); }, {2});
        row("SigUpDataReportRate", oneInt, [](PostMsg& m) { m.PostUpDataReportRate(16); }, {16});
        row("SigUpDataDPI", oneInt, [](PostMsg& m) { m.PostUpDataDPI(7); }, {7});
        row("SigUpDataDPILed", oneImage, [](PostMsg& m) { m.PostUpDataDPILed(SentImage); }, {image});
        row("SigTimerStop", none, [](PostMsg& m) { m.PostTimerStop(); }, {});
        row("SigButtonEnable", oneInt, [](PostMsg& m) { m.PostButtonEnable(1); }, {1});
        row("SigLabelText", {"int", "QString"}, [a](PostMsg& m) { m.PostLabelText(2, a); }, {2, a});
        row("SigLabelTextB", twoTexts, [a, b](PostMsg& m) { m.PostLabelTextB(a, b); }, {a, b});
        row("SigCloseUpdate", none, [](PostMsg& m) { m.PostCloseUpdate(); }, {});
        row("SigProgress", {"int", "int"}, [](PostMsg& m) { m.PostProgress(55, 1); }, {55, 1});
        row("SigBattery", {"bool", "int", "bool"}, [](PostMsg& m) { m.PostBattery(true, 15, false); }, {true, 15, false});
        row("SigAutoRepair", oneInt, [](PostMsg& m) { m.PostAutoRepair(2); }, {2});
        row("SigAutoRepairProgress", oneInt, [](PostMsg& m) { m.PostAutoRepairProgress(80); }, {80});
        row("SigChangeLanguage", oneInt, [](PostMsg& m) { m.PostChangeLanguage(5); }, {5});
        row("SigLanguageSameA", oneInt, [](PostMsg& m) { m.PostLanguageSameA(4); }, {4});
        row("SigLanguageSameB", oneInt, [](PostMsg& m) { m.PostLanguageSameB(3); }, {3});
        row("SigCloseOffOnline", none, [](PostMsg& m) { m.PostCloseOffOnline(); }, {});
        row("SigSetMacroPage", none, [](PostMsg& m) { m.PostSetMacroPage(); }, {});
        row("SigStartRecord", oneInt, [](PostMsg& m) { m.PostStartRecord(1); }, {1});
        row("SigUpDateButton", {"bool"}, [](PostMsg& m) { m.PostUpDateButton(true); }, {true});
        row("SigMacroRename", twoTexts, [a, b](PostMsg& m) { m.PostMacroRename(a, b); }, {a, b});
        row("SigSetver", oneInt, [](PostMsg& m) { m.PostSetver(6); }, {6});
        row("SigCloseProgress", none, [](PostMsg& m) { m.PostCloseProgress(); }, {});
        row("SigRGBValue", {"DongleRGB*"}, [](PostMsg& m) { m.PostRGBValue(&LightRecord); }, {record});
        row("SigLongRangeMode", {"bool"}, [](PostMsg& m) { m.PostLongRangeMode(true); }, {true});
        row("SigForm", none, [](PostMsg& m) { m.PostForm(); }, {});
        row("SigFormB", none, [](PostMsg& m) { m.PostFormB(); }, {});
        row("SigEnterKey", none, [](PostMsg& m) { m.PostEnterKey(); }, {});
        row("SigFormReset", none, [](PostMsg& m) { m.PostFormReset(); }, {});
        row("SigHideModel", oneInt, [](PostMsg& m) { m.PostHideModel(1); }, {1});
        row("SigContinue", oneInt, [](PostMsg& m) { m.PostContinue(0); }, {0});
        row("SigMouseIndex", oneInt, [](PostMsg& m) { m.PostMouseIndex(9); }, {9});
        row("SigUpdateStart", none, [](PostMsg& m) { m.PostUpdateStart(); }, {});
        row("SigCheckUpdate", none, [](PostMsg& m) { m.PostCheckUpdate(); }, {});
        row("SigRepairCheckUpdate", none, [](PostMsg& m) { m.PostRepairCheckUpdate(); }, {});
        row("SigSetNewVer", none, [](PostMsg& m) { m.PostSetNewVer(); }, {});
        row("SigLightToFrom", oneInt, [](PostMsg& m) { m.PostLightToFrom(300); }, {300});
    }

    // Each signal sits at its place with its argument types, can be found by its
    // signature text (what connections by name look up), and its send method
    // emits it once with the arguments given.
    void signalAndSendMethod()
    {
        QFETCH(int, place);
        QFETCH(QByteArray, name);
        QFETCH(QByteArrayList, types);
        QFETCH(PostCall, post);
        QFETCH(QVariantList, arguments);

        const QMetaMethod signal = BusSignals().at(place);
        QCOMPARE(signal.name(), name);
        QCOMPARE(signal.parameterTypes(), types);

        const QByteArray signature = QMetaObject::normalizedSignature(name + '(' + types.join(',') + ')');
        QCOMPARE(PostMsg::staticMetaObject.indexOfSignal(signature), signal.methodIndex());

        QSignalSpy spy(PostMsg::Instance(), signal);
        QVERIFY(spy.isValid());
        post(*PostMsg::Instance());
        QCOMPARE(spy.count(), 1);
        const QVariantList sent = spy.takeFirst();
        QCOMPARE(sent.size(), arguments.size());
        for (int i = 0; i < sent.size(); ++i)
            QVERIFY2(SameArgument(sent.at(i), arguments.at(i)), qPrintable(QStringLiteral("argument %1").arg(i)));
    }

    // The thirteen connections that the pages make with Qt::BlockingQueuedConnection,
    // by signal and slot name: emitted on another thread, the send method returns
    // only after the slot has run on the GUI thread, and the slot saw what was sent.
    void blockingConnectionWaitsForSlot_data()
    {
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<PostCall>("post");
        QTest::addColumn<QVariantList>("arguments");

        const QVariant image = QVariant::fromValue(SentImage);
        QTest::newRow("battery to frame") << QByteArray(SIGNAL(SigBattery(bool, int, bool)))
            << QByteArray(SLOT(SlotBattery(bool, int, bool)))
            << PostCall([](PostMsg& m) { m.PostBattery(false, 14, true); }) << QVariantList{false, 14, true};
        QTest::newRow("image to sensor page") << QByteArray(SIGNAL(SigUpDataLightSensor(FlashDataMap)))
            << QByteArray(SLOT(SlotUpDataSenSorUISensor(FlashDataMap)))
            << PostCall([](PostMsg& m) { m.PostUpDataLightSensor(SentImage); }) << QVariantList{image};
        QTest::newRow("reset to sensor page") << QByteArray(SIGNAL(SigFormReset()))
            << QByteArray(SLOT(SlotFormReset())) << PostCall([](PostMsg& m) { m.PostFormReset(); }) << QVariantList{};
        QTest::newRow("report rate to sensor page") << QByteArray(SIGNAL(SigUpDataReportRate(int)))
            << QByteArray(SLOT(SlotUpDataReportRate(int)))
            << PostCall([](PostMsg& m) { m.PostUpDataReportRate(32); }) << QVariantList{32};
        QTest::newRow("stage to sensor page") << QByteArray(SIGNAL(SigUpDataDPI(int)))
            << QByteArray(SLOT(SlotUpDataDPI(int))) << PostCall([](PostMsg& m) { m.PostUpDataDPI(3); }) << QVariantList{3};
        QTest::newRow("DPI light to sensor page") << QByteArray(SIGNAL(SigUpDataDPILed(FlashDataMap)))
            << QByteArray(SLOT(SlotUpDataDPILed(FlashDataMap)))
            << PostCall([](PostMsg& m) { m.PostUpDataDPILed(SentImage); }) << QVariantList{image};
        QTest::newRow("image to button page") << QByteArray(SIGNAL(SigUpDataLightUIButton(FlashDataMap)))
            << QByteArray(SLOT(SlotUpDataButtonUIButton(FlashDataMap)))
            << PostCall([](PostMsg& m) { m.PostUpDataLightUIButton(SentImage); }) << QVariantList{image};
        QTest::newRow("configuration to button page") << QByteArray(SIGNAL(SigUpDataConfigUI(int, int, bool)))
            << QByteArray(SLOT(SlotUpDataConfigUI(int, int, bool)))
            << PostCall([](PostMsg& m) { m.PostUpDataConfigUI(3, 1, true); }) << QVariantList{3, 1, true};
        QTest::newRow("reset to button page") << QByteArray(SIGNAL(SigFormReset()))
            << QByteArray(SLOT(SlotFormResetButton())) << PostCall([](PostMsg& m) { m.PostFormReset(); }) << QVariantList{};
        QTest::newRow("receiver light to settings page") << QByteArray(SIGNAL(SigRGBValue(DongleRGB*)))
            << QByteArray(SLOT(SlotRGBValue(DongleRGB*)))
            << PostCall([](PostMsg& m) { m.PostRGBValue(&LightRecord); }) << QVariantList{QVariant::fromValue(&LightRecord)};
        QTest::newRow("long range to settings page") << QByteArray(SIGNAL(SigLongRangeMode(bool)))
            << QByteArray(SLOT(SlotLongRangeMode(bool)))
            << PostCall([](PostMsg& m) { m.PostLongRangeMode(true); }) << QVariantList{true};
        QTest::newRow("form to settings page") << QByteArray(SIGNAL(SigForm())) << QByteArray(SLOT(SlotForm()))
            << PostCall([](PostMsg& m) { m.PostForm(); }) << QVariantList{};
        QTest::newRow("reset to settings page") << QByteArray(SIGNAL(SigFormReset()))
            << QByteArray(SLOT(SlotFormResetForm())) << PostCall([](PostMsg& m) { m.PostFormReset(); }) << QVariantList{};
    }

    void blockingConnectionWaitsForSlot()
    {
        QFETCH(QByteArray, signal);
        QFETCH(QByteArray, slot);
        QFETCH(PostCall, post);
        QFETCH(QVariantList, arguments);

        PageStandIn page;
        QVERIFY(QObject::connect(PostMsg::Instance(), signal.constData(), &page, slot.constData(),
                                 Qt::BlockingQueuedConnection));

        std::atomic<int> callsWhenReturned{-1};
        QVERIFY(RunOnOtherThread([&] {
            post(*PostMsg::Instance());
            callsWhenReturned = page.calls.load();
        }));

        QCOMPARE(callsWhenReturned.load(), 1);
        QCOMPARE(page.ranOn, QThread::currentThread());
        QCOMPARE(page.seen.size(), arguments.size());
        for (int i = 0; i < arguments.size(); ++i)
            QVERIFY2(SameArgument(page.seen.at(i), arguments.at(i)), qPrintable(QStringLiteral("argument %1").arg(i)));
    }

    // The image of a whole read lives on the emitter's stack and is reused right
    // after the send returns: the page must have seen the bytes of the send, not
    // what the emitter writes next.
    void imageStaysValidUntilSlotHasRun()
    {
        PageStandIn page;
        QVERIFY(QObject::connect(PostMsg::Instance(), SIGNAL(SigUpDataLightSensor(FlashDataMap)), &page,
                                 SLOT(SlotUpDataSenSorUISensor(FlashDataMap)), Qt::BlockingQueuedConnection));

        QVERIFY(RunOnOtherThread([] {
            FlashDataMap image = PatternImage(7);
            PostMsg::Instance()->PostUpDataLightSensor(image);
            std::memset(image.bytes(), 0xEE, FlashDataMap::Size);
            PostMsg::Instance()->PostUpDataLightSensor(image);
        }));
        QCOMPARE(page.history.size(), 2);
        QVERIFY(SameArgument(page.history.at(0).value(0), QVariant::fromValue(SentImage)));
        FlashDataMap second;
        std::memset(second.bytes(), 0xEE, FlashDataMap::Size);
        QVERIFY(SameArgument(page.history.at(1).value(0), QVariant::fromValue(second)));
    }

    // The marks that make blocking sends visible to ThreadSanitizer add no
    // order the program does not have: a slot that queues work writing a value
    // the sender reads after its send is a race, reported through the bus as
    // with a plain emission. Seen in a child run of
    // slotQueuingAWriteTheSenderReads, as a report is the outcome.
    void aRaceBehindABlockingSendIsReported()
    {
#ifndef TALVIRE_TEST_THREAD_SANITIZER
        QSKIP("only ThreadSanitizer builds see races");
#endif
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TALVIRE_RACE_CHILD"), QStringLiteral("1"));
        environment.insert(QStringLiteral("TSAN_OPTIONS"),
                           environment.value(QStringLiteral("TSAN_OPTIONS"))
                               + QStringLiteral(" exitcode=0 log_path=stderr"));
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("slotQueuingAWriteTheSenderReads")});
        QVERIFY(child.waitForFinished(60000));
        const QByteArray output = child.readAll();
        QVERIFY2(output.contains("PASS   : BusTest::slotQueuingAWriteTheSenderReads()"), output.constData());
        QVERIFY2(output.contains("WARNING: ThreadSanitizer: data race"), output.constData());
        QVERIFY2(output.contains("slotQueuingAWriteTheSenderReads"), output.constData());
    }

    // Run by aRaceBehindABlockingSendIsReported only. The slot queues an event
    // that writes the value; the sender reads it once its send has returned,
    // and ends only after the write (so that its end orders nothing).
    void slotQueuingAWriteTheSenderReads()
    {
        if (qEnvironmentVariableIsEmpty("TALVIRE_RACE_CHILD"))
            QSKIP("run as a child by aRaceBehindABlockingSendIsReported");
        ValueWriter writer;
        QVERIFY(QObject::connect(
            PostMsg::Instance(), &PostMsg::SigForm, &writer,
            [&writer] { QCoreApplication::postEvent(&writer, new QEvent(QEvent::User)); },
            Qt::BlockingQueuedConnection));
        QVERIFY(RunOnOtherThread([&writer] {
            PostMsg::Instance()->PostForm();
            writer.seen.store(writer.value, std::memory_order_relaxed);
            WaitWithoutEvents([&writer] { return writer.written.load(std::memory_order_relaxed); },
                              DefaultTestLimit());
        }));
        QCOMPARE(writer.value, 1);
    }
};

TALVIRE_TEST_MAIN(BusTest)
#include "test_bus.moc"
