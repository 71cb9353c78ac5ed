// The framework's network layer: a blocking HTTP GET through WinINet, a
// blocking HTTP/1.0 POST written by hand over a WinSock socket, host names to
// IPv4 address texts, and URLs or mail addresses handed to the shell.
//
// Every call runs to completion on the calling thread and returns the reply
// as text; every failure gives the empty text. POST and host resolution need
// WinSock 2.2 started by the process.
#pragma once

#include "core/Platform.h"
#include "core/SDisk.h"
#include "core/SString.h"

class SStringArray;

class SNetwork {
public:
  SNetwork();
  virtual ~SNetwork();

  // The body of a GET of url, or of url + "?" + query when the query is not
  // empty. The agent is "Vandro"; nothing is cached and no cookie is kept.
  SString HttpGet(const char* url, const char* query);
  // The part of the reply after its header block for an HTTP/1.0 POST of a
  // form-encoded body to host:port/path; empty when the reply has no header
  // end.
  SString HttpPost(const char* host, int port, const char* path, const char* body);

  // Appends every IPv4 address of the host as dotted text; false when the
  // name is empty or does not resolve (the array is then untouched).
  bool ResolveHost(const char* host, SStringArray* out);
  // The first address of the host; empty when it does not resolve.
  SString GetHostAddress(const char* host);

  // Shell "open" of the URL; true when the shell accepted it.
  bool OpenUrl(const char* url);
  // Shell "open" of "mailto:" and the address.
  void OpenMailTo(const char* address);

private:
  enum {
    GET_BLOCK = 512,
    GET_FAILURES = 4,
    POST_BLOCK = 4096,
  };

  SDisk m_disk;
};
