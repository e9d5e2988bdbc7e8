#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <limits>
#include <optional>

// The most rows a playlist holds: row numbers are 16-bit.
constexpr qsizetype kPlaylistCapacity = std::numeric_limits<qint16>::max();

// The playlist: rows from 0 of {full path, display name}, at most 32767 of them since row
// numbers are 16-bit. A view shows the paths; reading a row outside the list gives "".
// A row also keeps its track's length once the engine told it, for playlist files that
// record lengths.
class PlaylistModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole + 1, NameRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return static_cast<int>(m_rows.size()); }
    QString pathAt(int row) const;
    QString nameAt(int row) const;
    QStringList names() const;
    std::optional<double> secondsAt(int row) const;
    // Records the length of the track in row; a row outside the list is passed over.
    void setSeconds(int row, std::optional<double> seconds);

    bool append(const QString &path, const QString &name);
    // Appends as many of the entries as there is room for, in one insertion; false when
    // some did not fit.
    bool append(const QStringList &paths, const QStringList &names);
    bool remove(int row);
    void clear();

private:
    struct Row {
        QString path;
        QString name;
        std::optional<double> seconds;
    };
    bool inside(int row) const { return row >= 0 && row < count(); }

    QList<Row> m_rows;
};
