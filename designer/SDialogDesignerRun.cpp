// SDialogDesigner: the test run of the document as a real dialog.
#include "core/Platform.h"
#include "designer/SDialogDesigner.h"

#include "core/SFileMem.h"
#include "window/SDialog.h"

bool SDialogDesigner::Test() {
  // A document without its dialog record makes no dialog.
  if (!m_dialog) return false;
  SFileMem text;
  if (!SaveText(&text)) return false;
  text.Rewind();
  SDialog* dialog = new SDialog;
  bool created = SDialog::CreateFromText(&text, dialog, m_hWnd, true, this, nullptr, nullptr,
                                         TestCallback, false, m_archive, nullptr);
  if (created && dialog->m_hWnd) {
    // The document is not re-created while its copy runs.
    m_testMode = true;
    dialog->RunModal(0, 0, false, nullptr, true);
    m_testMode = false;
  }
  delete dialog;
  return created;
}

int SDialogDesigner::TestCallback(void* context, const char* name) {
  return context ? static_cast<SDialogDesigner*>(context)->TestHook(name) : 0;
}
