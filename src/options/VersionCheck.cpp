// SPDX-License-Identifier: MIT
#include "VersionCheck.h"

#include "app/Product.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <utility>

namespace Versions {

namespace {
const QString Unpublished = QStringLiteral("VER. 0.000");
}

int Conv_Version(const QString& Ver_str) {
    const qsizetype blank = Ver_str.indexOf(QLatin1Char(' '));
    const QString number = (blank < 0 ? Ver_str : Ver_str.mid(blank + 1)).trimmed();
    if (number.size() < 5)
        return -1;
    int value = 0;
    for (const qsizetype i : {0, 2, 3, 4}) {
        const QChar c = number.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

bool Check_Version(const QString& answer) {
    const QString text = answer.toUpper().trimmed();
    if (text.isEmpty() || text == Unpublished)
        return false;
    const int own = Conv_Version(Product::Version);
    const int published = Conv_Version(text);
    return own != -1 && published != -1 && published > own;
}

QString downloadLink(const QString& text) {
    const QString href = Product::downloadPageUrl().toString(QUrl::FullyEncoded).toHtmlEscaped();
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(href, text.toHtmlEscaped());
}

} // namespace Versions

VersionCheck::VersionCheck(QObject* parent)
    : QObject(parent)
    , m_url(Product::versionUrl()) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { fail(Failure::TimedOut); });
}

VersionCheck::~VersionCheck() {
    cancel();
}

void VersionCheck::setServer(const QString& host, quint16 port) {
    m_url = Product::versionUrl();
    m_url.setHost(host);
    m_url.setPort(port);
}

void VersionCheck::start() {
    if (m_reply)
        return;
    if (!m_manager)
        m_manager = new QNetworkAccessManager(this);

    m_body.clear();
    m_answer.clear();
    m_failure = Failure::None;

    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    // The body as sent, never compressed: the limit counts the bytes that arrive.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setRawHeader("Connection", "close");

    m_reply = m_manager->get(request);
    m_reply->setReadBufferSize(BodyLimit + 1);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &VersionCheck::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &VersionCheck::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &VersionCheck::onFinished);
    m_deadline.start(m_timeLimitMs);
}

void VersionCheck::cancel() {
    m_deadline.stop();
    dropReply();
}

void VersionCheck::dropReply() {
    if (!m_reply)
        return;
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void VersionCheck::onMetaData() {
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > BodyLimit)
        fail(Failure::TooLarge);
}

void VersionCheck::onReadyRead() {
    m_body += m_reply->read(BodyLimit + 1 - m_body.size());
    if (m_body.size() > BodyLimit)
        fail(Failure::TooLarge);
}

// Ends the running request as failed and reports it.
void VersionCheck::fail(Failure why) {
    if (!m_reply)
        return;
    m_deadline.stop();
    dropReply();
    m_failure = why;
    m_body.clear();
    Q_EMIT finished(false);
}

void VersionCheck::onFinished() {
    if (!m_reply)
        return;
    onReadyRead();
    if (!m_reply) // the last bytes were over the limit
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = m_reply->error();
    m_deadline.stop();
    QNetworkReply* reply = std::exchange(m_reply, nullptr);
    reply->disconnect(this);
    reply->deleteLater();

    if (status != 0 && (status < 200 || status > 299)) {
        m_failure = Failure::HttpStatus; // a redirect ends here too
    } else if (error != QNetworkReply::NoError || status == 0) {
        m_failure = Failure::Network;
    } else {
        m_answer = QString::fromUtf8(m_body);
    }
    m_body.clear();
    Q_EMIT finished(m_failure == Failure::None && Versions::Check_Version(m_answer));
}
