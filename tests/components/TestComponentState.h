#pragma once

/* What the test components saw, read by the tests through the exported
   TestComponentGetState(). */

#include <stddef.h>
#include <stdint.h>

#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define TEST_COMPONENT_TEXT 128

typedef struct TestComponentState {
    int created;
    int released;
    int calls;
    int16_t arg2;
    int16_t arg3;
    char16_t clientNumber[TEST_COMPONENT_TEXT];
    size_t clientNumberLength;
    char16_t message[TEST_COMPONENT_TEXT];
    size_t messageLength;
    int windowGiven;
    int32_t visitPageAllowed;
    char16_t title[TEST_COMPONENT_TEXT];
    size_t titleLength;
    char16_t serviceBaseUrl[TEST_COMPONENT_TEXT];
    size_t serviceBaseUrlLength;
    /* Set by a test: the component pretends a popup is still on screen. */
    int busy;
} TestComponentState;

typedef TestComponentState* (*TestComponentStateFn)(void);

#ifdef __cplusplus
}
#endif
