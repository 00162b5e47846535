#pragma once

#include <QFile>
#include <QStringList>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// Permission faults need a user whom permissions stop; root passes every
// one of them. Run as root, this hands the given files over to "nobody" and
// acts as nobody (real and effective ids, so access() checks agree with
// open()) for its lifetime, keeping root as the saved id to come back to.
// Run as anyone else it changes nothing: the permissions already apply.
class OrdinaryUser {
public:
    explicit OrdinaryUser(const QStringList& handedOver) {
        if (geteuid() != 0)
            return;
        const passwd* nobody = getpwnam("nobody");
        if (!nobody)
            return;
        for (const QString& name : handedOver) {
            if (lchown(QFile::encodeName(name).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
                return;
        }
        if (setresgid(nobody->pw_gid, nobody->pw_gid, 0) != 0)
            return;
        if (setresuid(nobody->pw_uid, nobody->pw_uid, 0) != 0) {
            setresgid(0, 0, 0);
            return;
        }
        m_switched = true;
    }
    ~OrdinaryUser() {
        if (m_switched) {
            setresuid(0, 0, 0);
            setresgid(0, 0, 0);
        }
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    // Whether permissions now stop this process: true unless it is root and
    // could not become nobody.
    bool bound() const { return m_switched || geteuid() != 0; }

private:
    bool m_switched = false;
};
