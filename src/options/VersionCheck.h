// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// Reading the answer of the maker's version service ("VER. 1.002": a word, a blank, then one digit, a
// point and three digits; "VER. 0.000" when nothing is published).
namespace Versions {

// The version number of `Ver_str`: the text after its first blank (all of it when there is none),
// stripped; its characters 1, 3, 4 and 5 read together as a decimal number. -1 when that text is
// shorter than five characters or those four characters are not all digits.
int Conv_Version(const QString& Ver_str);

// True when `answer`, the body the service sent, names a version newer than this program's own.
// The answer is upper-cased and stripped first; an empty answer (any failure of the request) and
// "VER. 0.000" are never newer.
bool Check_Version(const QString& answer);

// The download page as one anchor with `text` as its visible text, for a rich-text link label.
QString downloadLink(const QString& text);

} // namespace Versions

// One request to the version service at a time, without blocking the caller: start() sends it and
// finished() reports the outcome once. The request is bounded: it ends after TimeLimitMs in all, a body
// longer than BodyLimit is refused, a redirect is not followed. Every failure counts as "no newer version".
class VersionCheck : public QObject {
    Q_OBJECT
public:
    static constexpr int TimeLimitMs = 10000;
    static constexpr qint64 BodyLimit = 4096;

    // Why the last request gave no answer to compare.
    enum class Failure { None, Network, HttpStatus, TooLarge, TimedOut };
    Q_ENUM(Failure)

    explicit VersionCheck(QObject* parent = nullptr);
    ~VersionCheck() override;

    // The service's address: Product::versionUrl(), or the same path and query on the server given here
    // (a local server in the tests).
    void setServer(const QString& host, quint16 port);
    QUrl url() const { return m_url; }

    // Only the tests shorten the bound.
    void setTimeLimit(int ms) { m_timeLimitMs = ms; }

    // Sends the request; does nothing while one is running.
    void start();
    // Drops a running request without reporting it.
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

    // Of the last finished request: the body as received (empty on a failure) and why it failed.
    QString answer() const { return m_answer; }
    Failure failure() const { return m_failure; }

Q_SIGNALS:
    void finished(bool newer);

private:
    void onMetaData();
    void onReadyRead();
    void onFinished();
    void fail(Failure why);
    void dropReply();

    QUrl m_url;
    int m_timeLimitMs = TimeLimitMs;
    QNetworkAccessManager* m_manager = nullptr;
    QNetworkReply* m_reply = nullptr;
    QTimer m_deadline;
    QByteArray m_body;
    QString m_answer;
    Failure m_failure = Failure::None;
};
