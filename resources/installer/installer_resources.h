// Resource identifiers shared by the installer's .rc file and its code.
#pragma once

#define IDR_BACKGROUND 101
#define IDR_LICENCE 102
#define IDR_LICENCE_LINES 103
#define IDR_GARNET 104
