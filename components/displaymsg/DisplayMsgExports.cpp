// The "Flarebox.DisplayMsg" component: the entry points of
// components/ComponentAbi.h over the popup stack. The meaning it gives to the
// message elements and to the numbers 103 and 50 is documented in
// AlertContent.h. The client number only goes into the event page's address;
// of the window it is given only the service address is asked for.

#include <QApplication>
#include <QString>
#include <QThread>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "components/ComponentAbi.h"
#include "components/displaymsg/PopupCard.h"
#include "components/displaymsg/PopupStack.h"

struct TalvaneObject {
    int unused = 0;
};

namespace {

int liveObjects = 0;

void setError(TalvaneError* error, const QString& reason) {
    if (error == nullptr) return;
    const QByteArray utf8 = reason.toUtf8();
    const std::size_t n = qMin<std::size_t>(utf8.size(), TALVANE_ERROR_CAPACITY - 1);
    std::memcpy(error->message, utf8.constData(), n);
    error->message[n] = '\0';
}

QString fromUtf16(const char16_t* text, std::size_t length) {
    if (text == nullptr) return {};
    return QString::fromUtf16(text, static_cast<qsizetype>(length));
}

// The service address as the window gives it; empty without a window.
QString serviceBaseUrlOf(const TalvaneWindow* window) {
    if (window == nullptr || window->serviceBaseUrl == nullptr) return {};
    std::u16string url(64, u'\0');
    std::size_t length = window->serviceBaseUrl(window->context, url.data(), url.size());
    if (length > url.size()) {
        url.resize(length);
        length = window->serviceBaseUrl(window->context, url.data(), url.size());
    }
    url.resize(std::min(length, url.size()));
    return QString::fromStdU16String(url);
}

}  // namespace

extern "C" {

TALVANE_COMPONENT_EXPORT std::uint32_t TalvaneComponentAbiVersion(void) {
    return TALVANE_COMPONENT_ABI_VERSION;
}

TALVANE_COMPONENT_EXPORT std::int32_t TalvaneCreateObject(TalvaneObject** object,
                                                          TalvaneError* error) {
    if (object == nullptr) {
        setError(error, QStringLiteral("no place for the object"));
        return TALVANE_FAILED;
    }
    *object = new (std::nothrow) TalvaneObject;
    if (*object == nullptr) {
        setError(error, QStringLiteral("out of memory"));
        return TALVANE_FAILED;
    }
    ++liveObjects;
    return TALVANE_OK;
}

TALVANE_COMPONENT_EXPORT std::int32_t TalvaneDisplayAlert(
    TalvaneObject* object, const char16_t* clientNumber, std::size_t clientNumberLength,
    std::int16_t arg2, std::int16_t arg3, const char16_t* message, std::size_t messageLength,
    const TalvaneWindow* window, TalvaneError* error) {
    try {
        if (object == nullptr) {
            setError(error, QStringLiteral("no object"));
            return TALVANE_FAILED;
        }
        // The popup is a widget of the host's own application object.
        auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
        if (app == nullptr) {
            setError(error, QStringLiteral("the program runs no QApplication"));
            return TALVANE_FAILED;
        }
        if (QThread::currentThread() != app->thread()) {
            setError(error, QStringLiteral("DisplayAlert called outside the GUI thread"));
            return TALVANE_FAILED;
        }
        QString reason;
        if (!talvane::displaymsg::PopupStack::present(
                fromUtf16(message, messageLength), fromUtf16(clientNumber, clientNumberLength),
                arg2, arg3, serviceBaseUrlOf(window), reason)) {
            setError(error, reason);
            return TALVANE_FAILED;
        }
        return TALVANE_OK;
    } catch (const std::exception& e) {
        setError(error, QString::fromUtf8(e.what()));
    } catch (...) {
        setError(error, QStringLiteral("unexpected failure"));
    }
    return TALVANE_FAILED;
}

TALVANE_COMPONENT_EXPORT void TalvaneReleaseObject(TalvaneObject* object) {
    if (object == nullptr) return;
    delete object;
    --liveObjects;
}

TALVANE_COMPONENT_EXPORT std::int32_t TalvaneCanUnloadNow(void) {
    return liveObjects == 0 && talvane::displaymsg::PopupCard::existing() == 0 ? 1 : 0;
}

}  // extern "C"
