#pragma once

// Password managers and browsers mark clipboard content that must stay out of clipboard
// histories with registered formats. True when the open clipboard carries such a marker:
// "ExcludeClipboardContentFromMonitorProcessing" or "Clipboard Viewer Ignore" whatever their
// data, or "CanIncludeInClipboardHistory" holding a DWORD 0 (a 1 allows recording).
bool carriesSecretMarker();
