// Hands a URL to the desktop's opener without a shell in between and without waiting for it.
#pragma once

// Starts `xdg-open url` with the URL as its single argument. False if the process could not
// be started; what the opener then does is not reported.
bool open_url_detached(const char* url);
