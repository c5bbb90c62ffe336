#include "pages/sensor/SensorTables.h"

#include "core/ParameterSetters.h"
#include "core/SensorDefineFile.h"

QStringList SensorDefineNames;
QVector<int> SensorDefineValues;
QString CurrentSensorModel;
int DpiRangeMode = 0;
int DpiSegmentCount = 0;
QVector<int> DpiSegmentMinima;
QVector<int> DpiSegmentMaxima;
DpiSegmentText DpiSegmentTexts[MaxDpiSegments];

namespace {
// The bank flags of a DPI and the factor c by which they scale the
// register's step of 50 DPI: 0x11 and 0x22 double it, 0x33 quadruples it.
struct Bank {
    int flags;
    int multiplier;
};

Bank BankOf(int dpi)
{
    if (DpiRangeMode == 0x33) {
        // The highest segment whose minimum the DPI reaches.
        int segment = qMin(DpiSegmentCount, DpiSegmentMinima.size()) - 1;
        while (segment >= 0 && dpi < DpiSegmentMinima.at(segment))
            --segment;
        switch (segment) {
        case 3: return {0x33, 4};
        case 2: return {0x11, 2};
        case 1: return {0x22, 2};
        default: return {0, 1};
        }
    }
    if ((DpiRangeMode == 0x11 || DpiRangeMode == 0x22) && !DpiSegmentMaxima.isEmpty()
        && dpi > DpiSegmentMaxima.first())
        return {DpiRangeMode, 2};
    return {0, 1};
}

// The sensors whose stage records hold registers of 10 bits: bits 8 and 9 go
// into the high-bits byte, twice (bits 2-3 and 6-7).
bool TenBitRegisters()
{
    return CurrentSensorModel == QLatin1String("3395") || CurrentSensorModel == QLatin1String("3950");
}

bool HasTable()
{
    return SensorDefineFile::HasDpiTable(SensorDefineNames, SensorDefineValues, CurrentSensorModel);
}

// The index of the model's table entry for dpi / c, or of the entry whose DPI
// (times c) lies nearest to dpi, the lower one of two as near. Distances are
// reckoned in 64 bits: dpi may be any int.
int TableEntryOf(int dpi, int multiplier)
{
    const int exact = SensorDefineFile::IndexOfDpi(SensorDefineNames, SensorDefineValues, CurrentSensorModel,
                                                   dpi / multiplier);
    if (exact >= 0)
        return exact;
    int best = -1;
    qint64 bestDpi = 0;
    for (int i = 0; i < SensorDefineNames.size(); ++i) {
        const int entry = SensorDefineFile::EntryDpi(SensorDefineNames, SensorDefineValues, CurrentSensorModel, i);
        if (entry < 0)
            continue;
        const qint64 entryDpi = qint64(entry) * multiplier;
        const qint64 distance = qAbs(entryDpi - dpi);
        const qint64 bestDistance = qAbs(bestDpi - dpi);
        if (best < 0 || distance < bestDistance || (distance == bestDistance && entryDpi < bestDpi)) {
            best = i;
            bestDpi = entryDpi;
        }
    }
    return best;
}
} // namespace

bool DpiRangeHoldable(const QStringList& numbers)
{
    for (const QString& item : numbers) {
        bool ok = false;
        const qlonglong value = item.trimmed().toLongLong(&ok);
        if (!ok || value < 0 || value > SensorDefineFile::MaxStageDpi)
            return false;
    }
    return true;
}

bool SensorFeatureSupported(const QString& models)
{
    return models.contains(CurrentSensorModel);
}

int WriteDpiStage(int stage, int dpi)
{
    if (stage < 0 || stage >= 8)
        return -1;
    const Bank bank = BankOf(dpi);
    int registerValue = 0;
    int bits = bank.flags;
    const int entry = HasTable() ? TableEntryOf(dpi, bank.multiplier) : -1;
    if (entry >= 0) {
        registerValue = SensorDefineValues.at(entry);
    } else {
        // Without a table the register counts steps of 50 * c DPI from 50 * c.
        // It is kept within what the stage record holds, so the mouse runs at
        // the DPI the page shows.
        const int highest = TenBitRegisters() ? 1023 : 255;
        registerValue = qBound(0, dpi / (50 * bank.multiplier) - 1, highest);
        if (TenBitRegisters()) {
            const int high = registerValue >> 8;
            bits |= (high | high << 4) << 2;
        }
    }
    SetDpiStageValue(stage, registerValue, registerValue, bits);
    return StageDpiFromRegisters(registerValue & 0xFF, bits & 0xFF);
}

int StageDpiFromRegisters(int x, int bits)
{
    int dpi = 0;
    if (HasTable()) {
        dpi = qMax(0, SensorDefineFile::DpiOfRegister(SensorDefineNames, SensorDefineValues, CurrentSensorModel, x));
        if (bits & 0x22)
            dpi *= 2;
    } else {
        int registerValue = x;
        if (TenBitRegisters())
            registerValue |= (bits & 0xC0) << 2;
        dpi = (registerValue + 1) * ((bits & 0x22) ? 100 : 50);
    }
    if (bits & 0x11)
        dpi *= 2;
    return dpi;
}
