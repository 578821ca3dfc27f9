#include "tools/WebLinks.h"

namespace WebLinks {

QUrl site()
{
    return QUrl(QStringLiteral(TULMO_WEB_SITE));
}

QUrl forum()
{
    return QUrl(QStringLiteral(TULMO_WEB_SITE "/forum"));
}

} // namespace WebLinks
