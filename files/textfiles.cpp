#include "files/textfiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <limits>

QString decodeText(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return windows.decode(bytes);
    return QString::fromLatin1(bytes);
}

void forEachLine(QByteArrayView bytes, const std::function<bool(const QString &)> &visit)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        const QByteArrayView line = bytes.sliced(start, end - start);
        if (!visit(line.isEmpty() ? QString() : decodeText(line)))
            return;
        // A CR directly followed by LF ends one line, not two.
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
}

bool openRegularFile(QFile &file)
{
    // The name is looked at first only because opening a FIFO would wait for a writer.
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    // A name may have changed to a link to a device since; the file opened tells the truth.
    if (!file.isSequential())
        return true;
    file.close();
    return false;
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!openRegularFile(file))
        return std::nullopt;
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool writeSettingLine(const QString &path, const QString &value)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(value.toUtf8());
    file.write("\r\n");
    return file.commit();
}

std::optional<QString> dropLineEnd(const QString &content)
{
    if (content.size() < 2 || content.size() > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return content.chopped(2);
}

std::optional<QString> readSettingLine(const QString &path)
{
    // A settings line longer than 32767 characters is refused anyway, so reading more
    // than four bytes a character would be wasted.
    const auto bytes = readRegularFile(path, 4 * qint64(std::numeric_limits<qint16>::max()) + 4);
    if (!bytes)
        return std::nullopt;
    return dropLineEnd(decodeText(*bytes));
}
