/*
 * Ids of the picture tests' own resources (pictures_test.rc, which makes
 * test_pictures.dll).
 */
#ifndef WENDLE_PICTURES_TEST_H
#define WENDLE_PICTURES_TEST_H

/* sizes.ico: 16 red, 24 green, 48 half blue (see make_sizes_icon.py) */
#define IDI_TEST_SIZES 3901

#endif
