#pragma once

#include <QString>
#include <QVector>

class QPainter;
class QRectF;

// The state a picture shows.
enum class State { Normal, Hover, Pressed, Checked, Disabled };

// Draws one picture into the rectangle (the whole image); the image starts
// transparent.
using Recipe = void (*)(QPainter& painter, const QRectF& rect, State state);

struct Picture {
    QString name;   // file name without ".png"; case matters
    int width;      // the size the form gives the widget that shows it
    int height;
    Recipe recipe;
    State state;
};

struct PictureFolder {
    QString name;   // the folder below Picture/
    QVector<Picture> pictures;
};

// Every folder's table registers itself here: a later window adds its
// pictures with one file in folders/ holding
//     static const PictureTable::Add folder{{"Name", {{"Picture", w, h, Recipes::..., State::...}, ...}}};
class PictureTable {
public:
    static QVector<PictureFolder>& Folders();

    struct Add {
        explicit Add(const PictureFolder& folder) { Folders().append(folder); }
    };
};
