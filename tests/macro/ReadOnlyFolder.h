#pragma once

#include <QFile>
#include <QString>

#include <sys/mount.h>
#include <unistd.h>

// Makes a folder read-only for as long as the object lives: a read-only bind
// mount for the super-user (whom permissions do not bind), the permissions
// otherwise. Ok() is false when neither could be made.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& folder)
        : folder_(folder)
        , point_(QFile::encodeName(folder))
    {
        if (::geteuid() == 0) {
            if (::mount(point_.constData(), point_.constData(), nullptr, MS_BIND, nullptr) != 0)
                return;
            mounted_ = true;
            ok_ = ::mount(nullptr, point_.constData(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        } else {
            permissions_ = QFile::permissions(folder);
            ok_ = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
    }
    ~ReadOnlyFolder()
    {
        if (mounted_)
            ::umount2(point_.constData(), MNT_DETACH);
        else if (ok_)
            QFile::setPermissions(folder_, permissions_);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool Ok() const { return ok_; }

private:
    QString folder_;
    QByteArray point_;
    bool mounted_ = false;
    bool ok_ = false;
    QFile::Permissions permissions_;
};
