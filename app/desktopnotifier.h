#pragma once

#include <QObject>
#include <QStringList>
#include <optional>

// Shows a short desktop notice through the desktop's notification service. Each notice takes
// the place of the one before it, and none stays on screen. Nothing waits for the service:
// where none runs, the notices are dropped without a word.
class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Shows title with the artists below it, and the picture at coverPath when it is given.
    void announce(const QString &title, const QStringList &artists, const QString &coverPath);

private:
    struct Notice {
        QString title;
        QStringList artists;
        QString coverPath;
    };
    void send(const Notice &notice);
    void replied(quint32 id);

    // The service's number for the notice on screen, which the next one replaces; 0 for none.
    quint32 m_shownId = 0;
    bool m_asking = false;
    // The newest notice asked for while the service had not yet numbered the one before it.
    std::optional<Notice> m_waiting;
};
