#include "core/Platform.h"
#include "core/SDll.h"

SDll g_sharedLibrary;
SDll g_richTextLibrary;

SDll::SDll() : m_module(nullptr), m_user1(1), m_user2(0) {}

SDll::~SDll() { Free(); }

bool SDll::Free() {
  if (!m_module || !FreeLibrary(m_module)) return false;
  m_module = nullptr;
  m_functions.FreeBuffer();
  if (m_tempCopy.GetLength() > 0) {
    DeleteFileA(m_tempCopy.GetText());
    m_tempCopy.Empty();
  }
  return true;
}
