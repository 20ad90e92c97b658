// The web view's routes on the server's HTTP library: the page at "/", its files at
// "/web/NAME" and the data at "/api/values", "/api/names" and "/api/processes". The one
// place where the view meets the transport; everything it answers comes from WebAssets
// and WebData.
#pragma once

#include <string>

namespace httplib {
class Server;
}  // namespace httplib

namespace gaugery::cli {

class TWebData;

// Whether a request path belongs to the web view, whose pages a browser opens: a
// request without the token is then asked for it as a password.
bool IsWebViewPath(const std::string& Path);

void AddWebRoutes(httplib::Server& Http, TWebData& Data);

}  // namespace gaugery::cli
