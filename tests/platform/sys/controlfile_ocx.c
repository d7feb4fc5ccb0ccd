/* A stand-in control file for the registration tests. Built three ways:
   with both entries, with a slow register entry, and with no entry at all. */
#include <unistd.h>

static int registerCalls;
static int unregisterCalls;

int lumora_test_register_calls(void) { return registerCalls; }
int lumora_test_unregister_calls(void) { return unregisterCalls; }

#if defined(WITH_ENTRIES)
long DllRegisterServer(void)
{
#if defined(SLOW_ENTRY)
    sleep(3);
#endif
    ++registerCalls;
    return -1; /* a failure code: the caller must not care */
}

long DllUnregisterServer(void)
{
    ++unregisterCalls;
    return 0;
}
#endif
