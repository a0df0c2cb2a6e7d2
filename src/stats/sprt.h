// The generalized sequential probability ratio test on game pairs: stop as soon as the pairs
// favour one Elo hypothesis strongly enough.
#pragma once

#include "pentanomial.h"
#include "sprt_settings.h"

namespace velkaran {

enum class TSprtVerdict { Continue, AcceptH0, AcceptH1 };

// Where a test stands: its log-likelihood ratio, the two bounds it is compared with, the verdict.
struct TSprtState {
    double Llr = 0;
    double LowerBound = 0;  // ln(Beta / (1 - Alpha)): at or below it H0 is accepted
    double UpperBound = 0;  // ln((1 - Beta) / Alpha): at or above it H1 is accepted
    TSprtVerdict Verdict = TSprtVerdict::Continue;
};

// The log-likelihood ratio of H1 (Elo1) over H0 (Elo0), on the scale of Settings.Model, for the
// pairs of Table, the bounds and the verdict; never NaN. Empty tables give Llr 0. Settings that
// SprtSettingsError refuses give Llr 0, bounds 0 and Continue.
TSprtState EvaluateSprt(const TPentanomial &Table, const TSprtSettings &Settings);

}  // namespace velkaran
