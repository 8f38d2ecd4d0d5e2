/* A sample check library: one check in each calling convention, and the sample entry's name,
   description and icon as resources.

   SampleHasMetricCdecl / SampleHasMetricStdcall (metric, minimum): available when
   GetSystemMetrics(metric) is at least `minimum` (at least 1 when `minimum` is 0), for example
   80, 1 = at least one monitor, 19 = a mouse is present. Cheap, no window, no waiting: what a
   check should be. */
#include "sdk/brindle_check.h"

#include <windows.h>

static int HasMetric(int metric, int minimum)
{
    return GetSystemMetrics(metric) >= (minimum > 0 ? minimum : 1);
}

int BRINDLE_CHECK_CDECL SampleHasMetricCdecl(int metric, int minimum)
{
    return HasMetric(metric, minimum);
}

/* Exported as "SampleHasMetricStdcall" by sample_check.def, not by its decorated name. */
int BRINDLE_CHECK_STDCALL SampleHasMetricStdcall(int metric, int minimum)
{
    return HasMetric(metric, minimum);
}
