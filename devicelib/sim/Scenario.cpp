#include "Scenario.h"

#include "ModelCatalog.h"
#include "PathTable.h"
#include "SimDevice.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {
const char DefaultScenario[] = R"({
  "receivers": [
    { "id": "receiver", "kind": 4, "model": 1, "address": "5A:3C:11" }
  ],
  "mice": [
    { "id": "mouse", "model": 1, "receiver": "receiver", "battery": 80 }
  ]
})";

struct Failure {
    QString text;
};

[[noreturn]] void Fail(const QString& text)
{
    throw Failure{text};
}

void CheckKeys(const QJsonObject& object, const QStringList& known, const QString& where)
{
    for (const QString& key : object.keys()) {
        if (!known.contains(key))
            Fail(QStringLiteral("%1: unknown key \"%2\"").arg(where, key));
    }
}

int IntValue(const QJsonObject& object, const QString& key, int fallback, int low, int high,
             const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return fallback;
    // The range is checked on the number as written, before it becomes an int.
    const auto outside = [&] {
        Fail(QStringLiteral("%1: \"%2\" lies outside %3..%4").arg(where, key).arg(low).arg(high));
    };
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (!std::isfinite(d) || d < double(low) || d > double(high))
            outside();
        if (d != std::trunc(d))
            Fail(QStringLiteral("%1: \"%2\" is not a whole number").arg(where, key));
        return int(d);
    }
    if (value.isString()) {
        bool ok = false;
        const qlonglong number = value.toString().toLongLong(&ok, 0);
        if (!ok)
            Fail(QStringLiteral("%1: \"%2\" is not a number").arg(where, key));
        if (number < low || number > high)
            outside();
        return int(number);
    }
    Fail(QStringLiteral("%1: \"%2\" is not a number").arg(where, key));
}

bool BoolValue(const QJsonObject& object, const QString& key, bool fallback, const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return fallback;
    if (!value.isBool())
        Fail(QStringLiteral("%1: \"%2\" is not true or false").arg(where, key));
    return value.toBool();
}

QString TextValue(const QJsonObject& object, const QString& key, const QString& fallback,
                  const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return fallback;
    if (!value.isString())
        Fail(QStringLiteral("%1: \"%2\" is not a text").arg(where, key));
    return value.toString();
}

// A version as a number (0x0105) or a text "0x0105", "261" or "v1.5".
int VersionValue(const QJsonObject& object, const QString& key, int fallback, const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isString() && value.toString().startsWith(QLatin1Char('v'))) {
        const QStringList parts = value.toString().mid(1).split(QLatin1Char('.'));
        bool majorOk = false;
        bool minorOk = false;
        const int major = parts.value(0).toInt(&majorOk, 10);
        const int minor = parts.value(1).toInt(&minorOk, 16);
        if (parts.size() != 2 || !majorOk || !minorOk || major > 255 || minor > 255 || major < 0 || minor < 0)
            Fail(QStringLiteral("%1: \"%2\" is not a version like v1.5").arg(where, key));
        return major << 8 | minor;
    }
    return IntValue(object, key, fallback, 0, 0xFFFF, where);
}

unsigned ProductId(const QString& text, const QString& where)
{
    bool ok = false;
    const unsigned value = text.toUInt(&ok, 16);
    if (!ok || text.size() != 4)
        Fail(QStringLiteral("%1: \"%2\" is not a product id of 4 hexadecimal digits").arg(where, text));
    return value;
}

void AddressValue(const QJsonObject& object, const QString& key, uint8_t* address, const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return;
    const QStringList parts = value.toString().split(QLatin1Char(':'));
    bool good = value.isString() && parts.size() == 3;
    for (int i = 0; good && i < 3; ++i) {
        const unsigned byte = parts[i].toUInt(&good, 16);
        good = good && byte <= 0xFF;
        address[i] = uint8_t(byte);
    }
    if (!good)
        Fail(QStringLiteral("%1: \"%2\" is not an address like 5A:3C:11").arg(where, key));
}

QString IdValue(const QJsonObject& object, const QString& where, std::set<QString>* ids)
{
    const QString id = TextValue(object, QStringLiteral("id"), QString(), where);
    static const QRegularExpression form(QStringLiteral("^[A-Za-z0-9_-]{1,32}$"));
    if (!form.match(id).hasMatch())
        Fail(QStringLiteral("%1: \"id\" must be 1-32 letters, digits, '-' or '_'").arg(where));
    if (!ids->insert(id).second)
        Fail(QStringLiteral("%1: the id \"%2\" is used twice").arg(where, id));
    return id;
}

const char* MakePath(const QString& id, unsigned vid, unsigned pid)
{
    char ids[16];
    std::snprintf(ids, sizeof ids, "-%04X-%04X", vid, pid);
    return PathTable::Instance().Intern("/dev/hidsim/" + id.toStdString() + ids);
}

int LinkTypeOfKind(int kind)
{
    switch (kind) {
    case 1: return 0;
    case 2: return 4;
    case 4: return 1;
    case 8: return 5;
    default: return -1;
    }
}

int KindOfLinkType(int linkType)
{
    for (int kind : {1, 2, 4, 8}) {
        if (LinkTypeOfKind(kind) == linkType)
            return kind;
    }
    return 0;
}

SimReceiver ReadReceiver(const QJsonObject& object, int index, unsigned vid, std::set<QString>* ids)
{
    QString where = QStringLiteral("receiver %1").arg(index + 1);
    CheckKeys(object, {"id", "kind", "linkType", "pid", "model", "cid", "mid", "name", "version", "address",
                       "plugged", "boot", "longRange", "light", "idsAfterQueries", "knowsMouse"}, where);
    SimReceiver receiver;
    const QString id = IdValue(object, where, ids);
    where = QStringLiteral("receiver \"%1\"").arg(id);
    receiver.id = id.toStdString();

    receiver.kind = object.contains(QStringLiteral("kind")) || !object.contains(QStringLiteral("linkType"))
        ? IntValue(object, QStringLiteral("kind"), 4, 1, 8, where)
        : KindOfLinkType(IntValue(object, QStringLiteral("linkType"), 1, 0, 255, where));
    if (object.contains(QStringLiteral("kind")) && LinkTypeOfKind(receiver.kind) < 0)
        Fail(QStringLiteral("%1: \"kind\" must be 1, 2, 4 or 8").arg(where));
    receiver.linkType = uint8_t(IntValue(object, QStringLiteral("linkType"),
                                         LinkTypeOfKind(receiver.kind), 0, 255, where));
    static const char* const KindPids[] = {"5211", "5212", "5214", "5218"};
    const int kindIndex = ModelCatalog::KindIndex(receiver.kind);
    const QString pidText = TextValue(object, QStringLiteral("pid"),
                                      kindIndex >= 0 ? QString::fromLatin1(KindPids[kindIndex]) : QString(), where);
    if (pidText.isEmpty())
        Fail(QStringLiteral("%1: a receiver of link type %2 needs a \"pid\"").arg(where).arg(receiver.linkType));
    receiver.pid = ProductId(pidText, where);

    const int modelNumber = IntValue(object, QStringLiteral("model"), 1, 1, 255, where);
    const ModelCatalog::Model* model = ModelCatalog::Find(modelNumber);
    receiver.cid = IntValue(object, QStringLiteral("cid"), (model ? model : ModelCatalog::Find(1))->cid, 0, 255, where);
    receiver.mid = IntValue(object, QStringLiteral("mid"), model ? model->mid : modelNumber, 0, 255, where);
    receiver.name = TextValue(object, QStringLiteral("name"),
                              model && kindIndex >= 0 ? QString::fromStdString(model->receiverNames[kindIndex])
                                                      : QString(), where).toStdString();
    receiver.version = uint16_t(VersionValue(object, QStringLiteral("version"),
                                             model ? model->receiverVersion : 0x0100, where));
    receiver.address[0] = uint8_t(0x5A + index);
    receiver.address[1] = 0x3C;
    receiver.address[2] = 0x11;
    AddressValue(object, QStringLiteral("address"), receiver.address, where);
    receiver.plugged = BoolValue(object, QStringLiteral("plugged"), true, where);
    receiver.boot = BoolValue(object, QStringLiteral("boot"), false, where);
    receiver.hasLight = receiver.linkType == 1;
    receiver.longRange = uint8_t(IntValue(object, QStringLiteral("longRange"), 1, 0, 1, where));
    receiver.light[0] = uint8_t(IntValue(object, QStringLiteral("light"), receiver.hasLight ? 2 : 0, 0, 3, where));
    // The receiver's own colour table behind the three light options.
    const uint8_t table[9] = {25, 195, 162, 255, 170, 0, 0, 150, 255};
    std::memcpy(receiver.light + 1, table, sizeof table);
    receiver.hiddenIdQueries = IntValue(object, QStringLiteral("idsAfterQueries"), 0, 0, 1000, where);
    // Resolved once the mice are read.
    receiver.knowsMouse = BoolValue(object, QStringLiteral("knowsMouse"), false, where);
    receiver.path = MakePath(id, vid, receiver.pid);
    return receiver;
}

SimMouse ReadMouse(const QJsonObject& object, int index, unsigned vid, std::set<QString>* ids,
                   const std::vector<SimReceiver>& receivers)
{
    QString where = QStringLiteral("mouse %1").arg(index + 1);
    CheckKeys(object, {"id", "model", "cid", "mid", "name", "version", "battery", "charging", "powered", "cable",
                       "cablePid", "cableLinkType", "receiver", "address", "boot", "idsAfterQueries",
                       "configurations", "settings"}, where);
    SimMouse mouse;
    const QString id = IdValue(object, where, ids);
    where = QStringLiteral("mouse \"%1\"").arg(id);
    mouse.id = id.toStdString();
    mouse.model = IntValue(object, QStringLiteral("model"), 1, 1, 255, where);
    const ModelCatalog::Model* model = ModelCatalog::Find(mouse.model);
    mouse.cid = IntValue(object, QStringLiteral("cid"), (model ? model : ModelCatalog::Find(1))->cid, 0, 255, where);
    mouse.mid = IntValue(object, QStringLiteral("mid"), model ? model->mid : mouse.model, 0, 255, where);
    mouse.name = TextValue(object, QStringLiteral("name"),
                           model ? QString::fromStdString(model->mouseName) : QString(), where).toStdString();
    mouse.version = uint16_t(VersionValue(object, QStringLiteral("version"),
                                          model ? model->mouseVersion : 0x0100, where));
    mouse.battery = IntValue(object, QStringLiteral("battery"), 80, 0, 100, where);
    mouse.charging = BoolValue(object, QStringLiteral("charging"), false, where);
    mouse.powered = BoolValue(object, QStringLiteral("powered"), true, where);
    mouse.cable = BoolValue(object, QStringLiteral("cable"), false, where);
    mouse.cablePid = ProductId(TextValue(object, QStringLiteral("cablePid"),
                                         QString::fromStdString(model ? model->cablePid : std::string("5201")),
                                         where), where);
    mouse.cableLinkType = uint8_t(IntValue(object, QStringLiteral("cableLinkType"), 2, 0, 255, where));
    if (!(mouse.cableLinkType & 0xFA))
        Fail(QStringLiteral("%1: \"cableLinkType\" %2 is a receiver's link type").arg(where).arg(mouse.cableLinkType));

    const QString receiverId = TextValue(object, QStringLiteral("receiver"), QString(), where);
    if (!receiverId.isEmpty()) {
        bool found = false;
        for (const SimReceiver& receiver : receivers) {
            if (receiver.id == receiverId.toStdString()) {
                std::memcpy(mouse.address, receiver.address, 3);
                found = true;
            }
        }
        if (!found)
            Fail(QStringLiteral("%1: no receiver \"%2\"").arg(where, receiverId));
    }
    AddressValue(object, QStringLiteral("address"), mouse.address, where);
    mouse.boot = BoolValue(object, QStringLiteral("boot"), false, where);
    mouse.hiddenIdQueries = IntValue(object, QStringLiteral("idsAfterQueries"), 0, 0, 1000, where);

    const int configurations = IntValue(object, QStringLiteral("configurations"),
                                        model ? model->configurations : 1, 1, 4, where);
    const QString settings = TextValue(object, QStringLiteral("settings"), QStringLiteral("demo"), where);
    if (settings != QLatin1String("demo") && settings != QLatin1String("factory"))
        Fail(QStringLiteral("%1: \"settings\" must be \"demo\" or \"factory\"").arg(where));
    for (int c = 0; c < configurations; ++c) {
        mouse.configurations.push_back(settings == QLatin1String("demo") ? ModelCatalog::DemoBlock(mouse.model, c)
                                                                         : ModelCatalog::FactoryBlock(mouse.model, c));
    }
    mouse.cablePath = MakePath(id, vid, mouse.cablePid);
    return mouse;
}

// A time of the link for scenarios that give none: the environment variable
// when set (the tests' environment sets 0), else the fallback.
int EnvironmentMs(const char* variable, int fallback)
{
    const QByteArray text = qgetenv(variable);
    if (text.isEmpty())
        return fallback;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > 600000) {
        std::fprintf(stderr, "DIVAza: %s=%s ignored: not a time of 0-600000 ms\n", variable, text.constData());
        return fallback;
    }
    return value;
}

void ReadTiming(const QJsonObject& scenario, SimWorld* world)
{
    world->timing[SIM_TIMING_REPORT] = EnvironmentMs("TALVIRE_LINK_REPORT_MS", world->timing[SIM_TIMING_REPORT]);
    // The device's own answer time; the whole read takes the same when set.
    const int answerMs = EnvironmentMs("TALVIRE_LINK_ANSWER_MS", -1);
    if (answerMs >= 0) {
        world->timing[SIM_TIMING_ANSWER] = answerMs;
        world->timing[SIM_TIMING_WHOLE_READ] = answerMs;
    }
    const QJsonValue value = scenario.value(QStringLiteral("timing"));
    if (value.isUndefined())
        return;
    if (!value.isObject())
        Fail(QStringLiteral("\"timing\" is not an object"));
    const QJsonObject timing = value.toObject();
    const QStringList names = {"answer", "wholeRead", "pairing", "pairingTimeout", "upgradeStep", "report"};
    static_assert(sizeof world->timing / sizeof world->timing[0] == 6, "one name for each timing");
    CheckKeys(timing, names, QStringLiteral("timing"));
    for (int i = 0; i < names.size(); ++i)
        world->timing[i] = IntValue(timing, names[i], world->timing[i], 0, 600000, QStringLiteral("timing"));
}

void ReadPairing(const QJsonObject& scenario, SimWorld* world)
{
    const QString pairing = TextValue(scenario, QStringLiteral("pairing"), QStringLiteral("auto"),
                                      QStringLiteral("scenario"));
    const QStringList outcomes = {"auto", "succeed", "fail", "noAnswer"};
    world->pairingOutcome = outcomes.indexOf(pairing);
    if (world->pairingOutcome < 0)
        Fail(QStringLiteral("\"pairing\" must be one of auto, succeed, fail, noAnswer"));
}

QJsonArray ArrayValue(const QJsonObject& scenario, const QString& key)
{
    const QJsonValue value = scenario.value(key);
    if (value.isUndefined())
        return QJsonArray();
    if (!value.isArray())
        Fail(QStringLiteral("\"%1\" is not a list").arg(key));
    return value.toArray();
}

QJsonObject ObjectAt(const QJsonArray& list, int index, const QString& what)
{
    if (!list.at(index).isObject())
        Fail(QStringLiteral("%1 %2 is not an object").arg(what).arg(index + 1));
    return list.at(index).toObject();
}
} // namespace

bool Scenario::Parse(const std::string& json, SimWorld* world, std::string* error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &parseError);
    try {
        if (document.isNull())
            Fail(QStringLiteral("not JSON: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset));
        if (!document.isObject())
            Fail(QStringLiteral("the scenario is not a JSON object"));
        const QJsonObject scenario = document.object();
        CheckKeys(scenario, {"vid", "receivers", "mice", "timing", "pairing"}, QStringLiteral("scenario"));
        SimWorld result;
        result.vid = ProductId(TextValue(scenario, QStringLiteral("vid"), QStringLiteral("3A17"),
                                         QStringLiteral("scenario")), QStringLiteral("scenario"));
        std::set<QString> ids;
        const QJsonArray receivers = ArrayValue(scenario, QStringLiteral("receivers"));
        for (int i = 0; i < receivers.size(); ++i)
            result.receivers.push_back(ReadReceiver(ObjectAt(receivers, i, QStringLiteral("receiver")), i,
                                                    result.vid, &ids));
        const QJsonArray mice = ArrayValue(scenario, QStringLiteral("mice"));
        for (int i = 0; i < mice.size(); ++i)
            result.mice.push_back(ReadMouse(ObjectAt(mice, i, QStringLiteral("mouse")), i, result.vid, &ids,
                                            result.receivers));
        for (SimReceiver& receiver : result.receivers) {
            int paired = 0;
            for (const SimMouse& mouse : result.mice)
                paired += SimWorld::HasAddress(receiver.address) && std::memcmp(mouse.address, receiver.address, 3) == 0;
            if (paired > 1)
                Fail(QStringLiteral("receiver \"%1\" is paired with more than one mouse")
                         .arg(QString::fromStdString(receiver.id)));
            if (receiver.knowsMouse) {
                const SimMouse* mouse = result.PairedMouse(receiver);
                if (!mouse)
                    Fail(QStringLiteral("receiver \"%1\": \"knowsMouse\" needs a mouse paired with it")
                             .arg(QString::fromStdString(receiver.id)));
                SimWorld::Learn(receiver, *mouse);
            }
        }
        ReadTiming(scenario, &result);
        ReadPairing(scenario, &result);
        *world = std::move(result);
        return true;
    } catch (const Failure& failure) {
        if (error)
            *error = failure.text.toStdString();
        return false;
    }
}

bool Scenario::ParseFile(const std::string& fileName, SimWorld* world, std::string* error)
{
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileName + ": " + file.errorString().toStdString();
        return false;
    }
    const bool parsed = Parse(file.readAll().toStdString(), world, error);
    if (!parsed && error)
        *error = fileName + ": " + *error;
    return parsed;
}

SimWorld Scenario::Default()
{
    SimWorld world;
    std::string error;
    Parse(DefaultScenario, &world, &error);
    return world;
}

SimWorld Scenario::Initial()
{
    const char* fileName = std::getenv("TALVIRE_DEVICES");
    if (fileName && *fileName) {
        SimWorld world;
        std::string error;
        if (ParseFile(fileName, &world, &error))
            return world;
        std::fprintf(stderr, "DIVAza: TALVIRE_DEVICES ignored, the default devices are used: %s\n", error.c_str());
    }
    return Default();
}
