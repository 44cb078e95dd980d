#include "toolkit/StateFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cstdlib>

#include "toolkit/QtText.h"

namespace
{
// Anything longer is not a state file of ours.
constexpr qint64 kMaxFileSize = 1 << 20;

bool ReadsAsValues(const QJsonValue &value, std::vector<int> &numbers)
{
    if (!value.isArray()) {
        return false;
    }
    for (const QJsonValue &entry : value.toArray()) {
        const double number = entry.toDouble(0.5);
        if (!entry.isDouble() || number != static_cast<int>(number)) {
            return false;
        }
        numbers.push_back(static_cast<int>(number));
    }
    return true;
}
} // namespace

std::string StateFile::DefaultPath()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config != nullptr && config[0] == '/') {
        folder = config;
    } else if (const char *home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        folder = std::string(home) + "/.config";
    } else {
        return {};
    }
    return folder + "/tarvik/window-state.json";
}

StateFile::Values StateFile::Read() const
{
    QFile file(ToQt(path_));
    if (path_.empty() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) {
        return {};
    }
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject()) {
        return {};
    }
    Values values;
    const QJsonObject object = document.object();
    for (auto it = object.begin(); it != object.end(); ++it) {
        std::vector<int> numbers;
        if (!ReadsAsValues(it.value(), numbers)) {
            return {}; // one entry in a shape we never write: the file is not to be trusted
        }
        values[FromQt(it.key())] = std::move(numbers);
    }
    return values;
}

std::string StateFile::Write(const Values &changed) const
{
    if (path_.empty()) {
        return "there is no folder for the program's settings";
    }
    Values values = Read();
    for (const auto &[key, numbers] : changed) {
        values[key] = numbers;
    }
    QJsonObject object;
    for (const auto &[key, numbers] : values) {
        QJsonArray array;
        for (int number : numbers) {
            array.append(number);
        }
        object.insert(ToQt(key), array);
    }
    const QString path = ToQt(path_);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return "cannot make the folder " + FromQt(QFileInfo(path).absolutePath());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(QJsonDocument(object).toJson(QJsonDocument::Indented)) < 0 || !file.commit()) {
        return FromQt(file.errorString());
    }
    return {};
}
