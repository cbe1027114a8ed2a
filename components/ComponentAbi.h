/*
 * The binary interface between the notifier and a popup component.
 *
 * A component is a shared library named after its programmatic identifier,
 * "<progId>.so" (no "lib" prefix), placed in a components directory: first
 * "components/" beside the executable, then the installed components
 * directory. The program loads the library when it creates an object and
 * unloads it once no object is left and the component agrees (see
 * TalvaneCanUnloadNow). The interface is plain C so that a component can be
 * written in any language that can export C functions.
 *
 * Every entry point is called on the program's user-interface thread, one
 * call at a time. Entry points must not let an exception, a longjmp or any
 * other non-local exit escape.
 *
 * Strings are UTF-16 code units with an explicit length, not terminated and
 * possibly containing U+0000. They belong to the caller and are valid only
 * during the call: copy what you keep.
 *
 * Exported entry points (all required; a library missing one is not loaded):
 *
 *   uint32_t TalvaneComponentAbiVersion(void);
 *       TALVANE_COMPONENT_ABI_VERSION as the component was built against.
 *       A library reporting another version is not used.
 *
 *   int32_t TalvaneCreateObject(TalvaneObject** object, TalvaneError* error);
 *       Creates one object. TALVANE_OK and *object set, or a failure code
 *       with error filled in.
 *
 *   int32_t TalvaneDisplayAlert(TalvaneObject* object,
 *                               const char16_t* clientNumber, size_t clientNumberLength,
 *                               int16_t arg2, int16_t arg3,
 *                               const char16_t* message, size_t messageLength,
 *                               const TalvaneWindow* window,
 *                               TalvaneError* error);
 *       The DisplayAlert method: shows a reminder and returns at once.
 *       clientNumber is the program's client number; arg2 and arg3 are
 *       always 103 and 50 from this program (their meaning is the
 *       component's to define and document); message is five elements
 *       joined by "||||||"; window is the notifier window, or NULL. The
 *       program ignores everything but the success or failure.
 *
 *   void TalvaneReleaseObject(TalvaneObject* object);
 *       Releases an object. Whatever it started (a popup still on screen)
 *       may live on; it then has to keep TalvaneCanUnloadNow answering 0.
 *
 *   int32_t TalvaneCanUnloadNow(void);
 *       1 when no object and nothing the component started is alive, so the
 *       library may be unloaded now; 0 while it must stay loaded. The
 *       program asks after each release and again later until it gets 1.
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define TALVANE_COMPONENT_ABI_VERSION 2u

/* Marks the entry points of a component built with hidden visibility. */
#if defined(__GNUC__)
#define TALVANE_COMPONENT_EXPORT __attribute__((visibility("default")))
#else
#define TALVANE_COMPONENT_EXPORT
#endif

/* Results of the entry points that can fail. */
#define TALVANE_OK 0
#define TALVANE_FAILED 1

/* One object of the component; its layout is the component's own. */
typedef struct TalvaneObject TalvaneObject;

/* A failure's reason: UTF-8, NUL-terminated, cut to fit. */
#define TALVANE_ERROR_CAPACITY 256
typedef struct TalvaneError {
    char message[TALVANE_ERROR_CAPACITY];
} TalvaneError;

/*
 * The notifier window's public operations. Pass context back as the first
 * argument. Valid only during the call of TalvaneDisplayAlert that received
 * it: a component must not keep the pointer or call it later.
 */
typedef struct TalvaneWindow {
    void* context;

    /* Cuts the window to its rounded outline again. */
    void (*DoTransparency)(void* context);

    /*
     * Shortens a title longer than 32 characters the way the window shortens
     * its own titles and writes the result into out, which holds outCapacity
     * code units. Returns the length of the whole result; when that exceeds
     * outCapacity only outCapacity units were written (call again with a
     * larger buffer). Nothing is terminated.
     */
    size_t (*getTitle)(void* context, const char16_t* title, size_t titleLength, char16_t* out,
                       size_t outCapacity);

    /* 1 when a reminder poll is allowed now (office hours), else 0. */
    int32_t (*knowIfVisitPage)(void* context);

    /*
     * The scheme-and-host prefix of every service address, without a
     * trailing '/', written into out like getTitle's result: returns the
     * whole length, writes at most outCapacity code units, terminates
     * nothing. A component builds its links to the service from it.
     */
    size_t (*serviceBaseUrl)(void* context, char16_t* out, size_t outCapacity);
} TalvaneWindow;

typedef uint32_t (*TalvaneComponentAbiVersionFn)(void);
typedef int32_t (*TalvaneCreateObjectFn)(TalvaneObject** object, TalvaneError* error);
typedef int32_t (*TalvaneDisplayAlertFn)(TalvaneObject* object, const char16_t* clientNumber,
                                         size_t clientNumberLength, int16_t arg2, int16_t arg3,
                                         const char16_t* message, size_t messageLength,
                                         const TalvaneWindow* window, TalvaneError* error);
typedef void (*TalvaneReleaseObjectFn)(TalvaneObject* object);
typedef int32_t (*TalvaneCanUnloadNowFn)(void);

#ifdef __cplusplus
}
#endif
