/* A component for the automation tests, built in several variants:
   TEST_FAIL_CALL     DisplayAlert reports an error
   TEST_FAIL_CREATE   no object can be created
   TEST_NO_DISPLAY    the DisplayAlert entry point is missing
   TEST_WRONG_ABI     it claims another interface version
   Written in C to show that the interface needs nothing of C++. */

#include <stdlib.h>
#include <string.h>

#include "components/ComponentAbi.h"
#include "tests/components/TestComponentState.h"

struct TalvaneObject {
    int unused;
};

static TestComponentState state;

static inline void setError(TalvaneError* error, const char* text) {
    strncpy(error->message, text, TALVANE_ERROR_CAPACITY - 1);
    error->message[TALVANE_ERROR_CAPACITY - 1] = '\0';
}

static inline size_t copyText(char16_t* to, const char16_t* from, size_t length) {
    if (length > TEST_COMPONENT_TEXT) length = TEST_COMPONENT_TEXT;
    memcpy(to, from, length * sizeof(char16_t));
    return length;
}

TALVANE_COMPONENT_EXPORT TestComponentState* TestComponentGetState(void) { return &state; }

TALVANE_COMPONENT_EXPORT uint32_t TalvaneComponentAbiVersion(void) {
#ifdef TEST_WRONG_ABI
    return TALVANE_COMPONENT_ABI_VERSION + 1;
#else
    return TALVANE_COMPONENT_ABI_VERSION;
#endif
}

TALVANE_COMPONENT_EXPORT int32_t TalvaneCreateObject(TalvaneObject** object, TalvaneError* error) {
#ifdef TEST_FAIL_CREATE
    (void)object;
    setError(error, "test component cannot create objects");
    return TALVANE_FAILED;
#else
    (void)error;
    *object = calloc(1, sizeof(TalvaneObject));
    ++state.created;
    return TALVANE_OK;
#endif
}

#ifndef TEST_NO_DISPLAY
TALVANE_COMPONENT_EXPORT int32_t
TalvaneDisplayAlert(TalvaneObject* object, const char16_t* clientNumber, size_t clientNumberLength,
                    int16_t arg2, int16_t arg3, const char16_t* message, size_t messageLength,
                    const TalvaneWindow* window, TalvaneError* error) {
    (void)object;
    ++state.calls;
    state.arg2 = arg2;
    state.arg3 = arg3;
    state.clientNumberLength = copyText(state.clientNumber, clientNumber, clientNumberLength);
    state.messageLength = copyText(state.message, message, messageLength);
    state.windowGiven = window != NULL;
    if (window != NULL) {
        window->DoTransparency(window->context);
        state.visitPageAllowed = window->knowIfVisitPage(window->context);
        /* Too small a buffer first, as a careful component would find out. */
        size_t needed =
            window->getTitle(window->context, clientNumber, clientNumberLength, state.title, 2);
        if (needed > 2 && needed <= TEST_COMPONENT_TEXT) {
            needed = window->getTitle(window->context, clientNumber, clientNumberLength,
                                      state.title, TEST_COMPONENT_TEXT);
        }
        state.titleLength = needed;
        state.serviceBaseUrlLength =
            window->serviceBaseUrl(window->context, state.serviceBaseUrl, TEST_COMPONENT_TEXT);
    }
#ifdef TEST_FAIL_CALL
    setError(error, "test component refuses to display");
    return TALVANE_FAILED;
#else
    (void)error;
    return TALVANE_OK;
#endif
}
#endif

TALVANE_COMPONENT_EXPORT void TalvaneReleaseObject(TalvaneObject* object) {
    free(object);
    ++state.released;
}

TALVANE_COMPONENT_EXPORT int32_t TalvaneCanUnloadNow(void) { return state.busy ? 0 : 1; }
