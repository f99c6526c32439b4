#pragma once
// Helpers for putting hostile files in the program's way: a watch on the
// event loop, and a fingerprint of a folder that never opens what it finds.
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QTimer>
#include <filesystem>

// The longest time the event loop went without turning while the watch
// lived: a window that takes longer than a fraction of a second is frozen to
// its user.
class EventLoopWatch {
public:
    EventLoopWatch()
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_timer.start(5);
    }
    qint64 longestGapMs()
    {
        tick();
        return m_longest;
    }

private:
    void tick()
    {
        const qint64 now = m_clock.elapsed();
        m_longest = qMax(m_longest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// Every entry under `folder` with its kind and, for a regular file, the hash
// of its bytes; symlinks are described, never followed, and named pipes and
// devices never opened.
inline QMap<QString, QByteArray> FolderFingerprint(const QString& folder)
{
    namespace fs = std::filesystem;
    QMap<QString, QByteArray> found;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder.toStdString(), error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path path = it->path();
        const QString name = QString::fromStdString(path.lexically_relative(folder.toStdString()));
        const fs::file_type type = it->symlink_status().type();
        QByteArray what = QByteArray::number(static_cast<int>(type));
        if (type == fs::file_type::symlink) {
            what += ' ' + QByteArray::fromStdString(fs::read_symlink(path, error).string());
        } else if (type == fs::file_type::regular) {
            QFile file(QString::fromStdString(path));
            if (file.open(QIODevice::ReadOnly))
                what +=
                    ' ' +
                    QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        }
        found.insert(name, what);
    }
    return found;
}
