#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace qarn {

// Paths go to the core as the file system's 8-bit text and come back the same
// way, so the C runtime opens the file the user chose.
inline std::string toFileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

inline QString fromFileName(const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}

inline QStringList fromFileNames(const std::vector<std::string>& names)
{
    QStringList list;
    for (const std::string& name : names)
        list << fromFileName(name);
    return list;
}

} // namespace qarn
