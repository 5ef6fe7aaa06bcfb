#pragma once

// Replaces the clipboard content with the stored formats of one history record. Database
// failures are shown; a clipboard that stays busy leaves everything as it was. The program's
// own write is never captured.
#include "clipboard/ClipboardChanges.h"
#include "clipboard/ErrorReport.h"

void PutRecordOnClipboard(int recordId, ClipboardChanges& changes, const ReportError& report);
