/* Resource and control ids of VI32RID.dll's own resources (shared by the
   code and vi32rid.rc, so nothing but #define lines). */
#ifndef VI32RID_IDS_H
#define VI32RID_IDS_H

#define IDD_VI32RID_ABOUT 100

#define IDC_ABOUT_ICON  1001
#define IDC_ABOUT_LINE1 1002
#define IDC_ABOUT_LINE2 1003
#define IDC_ABOUT_LINE3 1004

#endif
