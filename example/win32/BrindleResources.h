// Identifiers of Brindle's Win32 resources, shared by the resource script and the code.
#pragma once

#define IDI_BRINDLE 1
#define IDR_MAINMENU 100
#define IDM_ABOUT 101

#define IDD_WAIT 200
#define IDD_ABOUT 300

// Controls of both dialogs, named after the labels they show.
#define IDC_PANEL1 1001
#define IDC_PROGRAMIMAGE 1002
#define IDC_PRODUCTTITLE 1003
#define IDC_PRODUCTNAME 1004
#define IDC_NOTICE 1005
#define IDC_VERSION 1006
#define IDC_BEVEL1 1007
#define IDC_LOADING 1008
#define IDC_MAILTO 1009
#define IDC_HOMEPAGE 1010
