// The web view's routes on the server: the page at "/", its files at "/web/NAME" and
// the data at "/api/values", "/api/names" and "/api/processes". The one place where the
// view meets the transport; everything it answers comes from WebAssets and WebData.
#pragma once

#include <string_view>

namespace gaugery::http {
class TServer;
}  // namespace gaugery::http

namespace gaugery::cli {

class TWebData;

// Whether a request path belongs to the web view, whose pages a browser opens: a
// request without the token is then asked for it as a password.
bool IsWebViewPath(std::string_view Path);

void AddWebRoutes(http::TServer& Http, TWebData& Data);

}  // namespace gaugery::cli
