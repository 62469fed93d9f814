#pragma once

// Shared pieces of the random-action window tests: how many actions and which
// seed (both overridable from the environment for longer local runs), the
// texts a careless user types, a log of the last actions for failure
// messages, and the checks that hold after every step whatever the program.
// Errors: the checks return a description of what is wrong (empty when all
// is well); nothing is thrown.

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace hardening {

// QARN_RANDOM_ACTIONS replaces the default count (e.g. 50000 for a long run).
inline int actionCount(int byDefault)
{
    if (const char* v = std::getenv("QARN_RANDOM_ACTIONS"); v && *v)
        return std::max(1, std::atoi(v));
    return byDefault;
}

// QARN_RANDOM_SEED replays one run; by default every run uses the same seed.
inline std::uint64_t seed(std::uint64_t byDefault)
{
    if (const char* v = std::getenv("QARN_RANDOM_SEED"); v && *v)
        return std::strtoull(v, nullptr, 0);
    return byDefault;
}

class Random {
public:
    explicit Random(std::uint64_t seed) : gen_(seed) {}
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(gen_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(gen_) < p; }
    template <typename List>
    const auto& pick(const List& list)
    {
        return list[below(static_cast<int>(list.size()))];
    }

private:
    std::mt19937_64 gen_;
};

// What people type into number entries: good numbers, blanks, signs, huge
// numbers, letters, other scripts and digits, and very long texts.
inline const QStringList& typedTexts()
{
    static const QStringList texts = {
        "100", "0", "20", "1", "25", "5000", "5001", "1000", "800", "40", " 100 ", "\t25", "+40", "000050",
        "-0", "-5", "-2147483648", "2147483647", "2147483648", "99999999999", "214748365", "", " ", "\t",
        "12a", "abc", "1e3", "3.5", "0x10", "1 000", "--5", "+-5", QString::fromUtf8("h\xc3\xb6he"),
        QString::fromUtf8("\xe9\xab\x98\xe3\x81\x95"),          // CJK letters
        QString::fromUtf8("\xd9\xa1\xd9\xa2\xd9\xa3"),          // Arabic-Indic digits 123
        QString::fromUtf8("\xef\xbc\x91\xef\xbc\x92"),          // full-width digits 12
        QString::fromUtf8("\xf0\x9f\x98\x80"),                  // an emoji
        QString(1000, '9'), QString(20000, 'a')};
    return texts;
}

// A whole number as the tools read entries: blanks (space, tab, line ends)
// around an optional sign and ASCII digits, within 32 bits; else nothing.
inline std::optional<std::int32_t> wholeNumber(const QString& text)
{
    const auto blank = [](QChar c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    };
    qsizetype from = 0, to = text.size();
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    bool negative = false;
    if (from < to && (text[from] == '+' || text[from] == '-')) {
        negative = text[from] == '-';
        ++from;
    }
    if (from == to)
        return std::nullopt;
    std::int64_t value = 0;
    for (qsizetype i = from; i < to; ++i) {
        const QChar c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > std::int64_t(1) << 32)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// QTest types only printable ASCII keys; other texts are set whole.
inline bool typeable(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return text.size() < 12;
}

// The last actions of a run, for the failure message.
class ActionLog {
public:
    void add(const QString& action)
    {
        last_.push_back(QString::number(step_) + ": " + action);
        if (last_.size() > 25)
            last_.pop_front();
    }
    void nextStep() { ++step_; }
    int step() const { return step_; }
    QString tail() const
    {
        QString text;
        for (const QString& line : last_)
            text += "\n  " + line.left(120);
        return text;
    }

private:
    int step_ = 0;
    std::deque<QString> last_;
};

// A dialog or message box left open would hang a real user's window.
inline QString openModalWindows()
{
    QStringList open;
    if (QWidget* modal = QApplication::activeModalWidget())
        open << "modal " + QString::fromLatin1(modal->metaObject()->className());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<QDialog*>(w))
            open << "dialog " + QString::fromLatin1(w->metaObject()->className()) + " " + w->windowTitle();
    return open.join(", ");
}

// Temporaries of the atomic writes: a target name followed by "." and six
// random characters. ("hightvals.dat" is the build's own file: it stays after
// a failed build, so the next one can be traced.)
inline bool looksTemporary(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot + 7 == name.size();
}

inline QStringList leftovers(const std::filesystem::path& dir)
{
    QStringList found;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (looksTemporary(name))
            found << QString::fromStdString(it->path().string());
    }
    return found;
}

} // namespace hardening
