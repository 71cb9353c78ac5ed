// The link to the game's web service and the texts it exchanges.
//
// Server and identity come from registry values under the game's key (the
// identity only for an online difficulty):
//   "server"      REG_SZ     host name or address; empty or missing: offline
//   "serverPort"  REG_DWORD  port; missing or 0: 80
//   "userId"      REG_DWORD  the player's user number on the server
//   "userName"    REG_SZ     the player's name on the server
//   "userCode"    REG_SZ     the player's code (letters and digits)
//
// Every request is HTTP/1.0 on one connection that the server closes; each
// wait (connect, send, every read) is bounded by timeoutMs, so a server that
// never answers makes the request fail instead of stopping the game.
#pragma once

#include "core/Platform.h"
#include "core/SString.h"

class PGhost;

class PWebLink {
public:
  enum { DEFAULT_PORT = 80, DEFAULT_TIMEOUT_MS = 3000, MAX_REPLY = 1 << 20 };

  PWebLink() : port(DEFAULT_PORT), timeoutMs(DEFAULT_TIMEOUT_MS) {}
  virtual ~PWebLink() {}

  bool HasServer() const { return host.GetLength() > 0; }
  // The body of GET /app.php?query; empty on any failure.
  virtual SString Get(const char* query);
  // The text after the header block of a form POST of body to /app.php
  // (an uncounted CR LF follows the body); empty on any failure.
  virtual SString Post(const char* body);

  SString host;
  int port;
  int timeoutMs;

private:
  // Sends the request and returns the whole reply (headers included);
  // empty on failure, a reply above MAX_REPLY bytes included.
  SString Exchange(const SString& request);
};

namespace PWebText {

enum {
  // A ghost text decodes to at most this many bytes: 1024 points of three
  // numbers of at most 12 characters each.
  MAX_GHOST_TEXT = 1024 * 3 * 12,
};

// Delta text of the points, block-compressed and Base64 (URL-safe, "@"
// ended); empty for an empty ghost.
SString EncodeGhost(const PGhost& ghost);
// Rebuilds the points of a ghost text into ghost (which is cleared first);
// false, with ghost empty, when the text does not decode to whole points
// that fit the record.
bool DecodeGhost(const char* text, PGhost* ghost);
// MD5 (lower-case hex) of the signed text with every 8th character replaced
// by 'A', 'B', ... 'Y', 'A', ...
SString Sign(const char* signedText);

}  // namespace PWebText
