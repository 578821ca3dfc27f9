#pragma once

#include <QUrl>

// The operator's web pages; the site's address is chosen when the program is built.
namespace WebLinks {
QUrl site();
QUrl forum(); // the site's address followed by "/forum"
} // namespace WebLinks
