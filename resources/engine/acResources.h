// Resource identifiers of the skin engine's own resources (the folder dialog's texts), shared
// by the program's resource script and the engine's code.
#pragma once

#define IDS_PATHDIALOG_CAPTION 6101
#define IDS_PATHDIALOG_OK 6102
#define IDS_PATHDIALOG_CANCEL 6103
#define IDS_PATHDIALOG_CREATE 6104
#define IDS_PATHDIALOG_ROOT 6105
