#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The sensor description header "driver_sensor.h" beside the program, read at
// run time as a list of definitions. Both pages read it through this class.
//
// Line shapes that carry data (every other line is ignored):
//   "#define" SPACE switch TAB model-list LF     one of the six feature switches
//   "#define" SPACE name TAB value LF             a definition; "0x" marks hex
//   "#define" SPACE name TAB value SPACE //word  a definition, decimal only
// Blanks separate, runs of them count as one; a TAB does not. A definition on
// a last line without its line feed, and a line without a TAB-separated
// value, are skipped; a value that is no number reads as 0.
//
// The DPI register tables are the definitions named "SENSOR_" + sensor model +
// "_DPI_" + DPI; their value is the sensor's register for that DPI.
class SensorDefineFile {
public:
    // The feature switches, in the order in which a line is matched against
    // them (a line naming two takes the first).
    enum Switch { ModeSelect, LodCal, Ripple, FixLine, MotionSync, MousepadCal, SwitchCount };

    // "SUPPORT_SENSOR_MODE_SEL", "SUPPORT_LOD_CAL", "SUPPORT_RIPPLE",
    // "SUPPORT_FIXLINE", "SUPPORT_MOTION_SYNC", "SUPPORT_MOUSEPAD_CAL".
    static QString SwitchName(Switch which);
    // <program folder>/driver_sensor.h
    static QString DefaultPath();

    // Reads the file in text mode (a CR LF ending arrives as a line feed) and
    // appends what it defines. False when the file cannot be opened; nothing
    // changes then.
    bool Read(const QString& path = DefaultPath());
    // One line as read, its line feed included.
    void ReadLine(const QString& line);

    // The definitions in file order, duplicates kept; Values()[i] is the
    // value of Names()[i].
    const QStringList& Names() const { return names_; }
    const QVector<int>& Values() const { return values_; }
    // The model list of a switch exactly as written after the TAB, line
    // feeds removed; "" when no line names it. A later line replaces it.
    QString SwitchText(Switch which) const;

    // Lookups in a definition table (names with their values) for one
    // sensor model. An entry of the model's table that a stage register
    // cannot hold (a DPI outside 0 to MaxStageDpi, a register value outside
    // one byte) counts as absent in every lookup.

    // The largest DPI a DPI stage record stands for: 1,024 steps of a
    // 10-bit register, of 200 DPI in the highest bank.
    static constexpr int MaxStageDpi = 1024 * 200;
    // The largest register value a table entry may give: one byte.
    static constexpr int MaxTableRegister = 0xFF;

    // "SENSOR_" + model + "_DPI": a name containing it belongs to the
    // model's register table.
    static QString DpiPrefix(const QString& model);
    // Whether the model has a register table (an entry that is not absent).
    static bool HasDpiTable(const QStringList& names, const QVector<int>& values, const QString& model);
    // The DPI an entry name stands for: the decimal number that starts two
    // characters after the name's first capital "I" (SENSOR_3950_DPI_800 gives
    // 800); 0 when no number stands there; -1 for a number outside 0 to
    // MaxStageDpi, however long.
    static int DpiOfName(const QString& name);
    // The DPI of entry i when it belongs to the model's table and is not
    // absent; -1 otherwise.
    static int EntryDpi(const QStringList& names, const QVector<int>& values, const QString& model, int i);
    // The DPI of the first entry of the model's table whose value is
    // registerValue; -1 when none has it.
    static int DpiOfRegister(const QStringList& names, const QVector<int>& values, const QString& model,
                             int registerValue);
    // The index of the first entry named exactly "SENSOR_" + model + "_DPI_" +
    // dpi; -1 when there is none.
    static int IndexOfDpi(const QStringList& names, const QVector<int>& values, const QString& model, int dpi);

private:
    QStringList names_;
    QVector<int> values_;
    QString switches_[SwitchCount];
};
