// Receives the URLs the program hands to the desktop, in place of a mail program and a
// browser.
#pragma once

#include <QObject>
#include <QUrl>
#include <vector>

class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  std::vector<QUrl> Urls;

 public slots:
  void Open(const QUrl& Url) { Urls.push_back(Url); }
};
