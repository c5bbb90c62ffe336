#include "PictureTable.h"

QVector<PictureFolder>& PictureTable::Folders()
{
    static QVector<PictureFolder> folders;
    return folders;
}
