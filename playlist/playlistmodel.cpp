#include "playlist/playlistmodel.h"

#include <algorithm>

int PlaylistModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant PlaylistModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !inside(index.row()))
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case PathRole:
        return row.path;
    case NameRole:
        return row.name;
    default:
        return {};
    }
}

QHash<int, QByteArray> PlaylistModel::roleNames() const
{
    return { { PathRole, "path" }, { NameRole, "name" } };
}

QString PlaylistModel::pathAt(int row) const
{
    return inside(row) ? m_rows.at(row).path : QString();
}

QString PlaylistModel::nameAt(int row) const
{
    return inside(row) ? m_rows.at(row).name : QString();
}

QStringList PlaylistModel::names() const
{
    QStringList names;
    names.reserve(m_rows.size());
    for (const Row &row : m_rows)
        names << row.name;
    return names;
}

std::optional<double> PlaylistModel::secondsAt(int row) const
{
    return inside(row) ? m_rows.at(row).seconds : std::nullopt;
}

void PlaylistModel::setSeconds(int row, std::optional<double> seconds)
{
    if (inside(row))
        m_rows[row].seconds = seconds;
}

bool PlaylistModel::append(const QString &path, const QString &name)
{
    return append(QStringList { path }, QStringList { name });
}

bool PlaylistModel::append(const QStringList &paths, const QStringList &names)
{
    // One insertion for the whole batch: row by row, a view would lay itself out again for
    // every row of a long playlist file.
    const qsizetype room = kPlaylistCapacity - m_rows.size();
    const qsizetype fits = std::min({ room, paths.size(), names.size() });
    if (fits > 0) {
        beginInsertRows(QModelIndex(), count(), count() + static_cast<int>(fits) - 1);
        m_rows.reserve(m_rows.size() + fits);
        for (qsizetype i = 0; i < fits; ++i)
            m_rows.append({ paths.at(i), names.at(i), std::nullopt });
        endInsertRows();
    }
    return fits == paths.size();
}

bool PlaylistModel::remove(int row)
{
    if (!inside(row))
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    return true;
}

void PlaylistModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}
