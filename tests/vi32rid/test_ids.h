/* String ids of the test executable's own string table (test_strings.rc),
   standing in for a language module. */
#ifndef VI32RID_TEST_IDS_H
#define VI32RID_TEST_IDS_H

#define IDS_TEST_CAPTION     7000
#define IDS_TEST_QUESTION    7001
#define IDS_TEST_ABOUT_LINE1 7002
#define IDS_TEST_ABOUT_LINE2 7003
#define IDS_TEST_ABOUT_LINE3 7004
#define IDS_TEST_MISSING     7010 /* not in the table */

#endif
