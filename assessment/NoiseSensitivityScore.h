#pragma once
// Scoring of the 35 statements of the noise-sensitivity questionnaire (NoiSeQ): the key that
// turns a chosen option into a raw score 0..3, the five subscales of seven statements each, the
// sums, the overall score and its rank against the reference population's band. Higher scores
// mean higher sensitivity. No Qt: the questionnaire window reads its buttons into `Answers` and
// writes the results back.

#include <array>

namespace oxw::assessment {

inline constexpr int kStatements = 35;
inline constexpr int kStatementsPerSubscale = 7;
inline constexpr double kMaxScore = 3.0;

// The subscale columns, in their order.
enum Subscale { Communication, Habitation, Leisure, Sleeping, Work };
inline constexpr int kSubscales = 5;

// The four options of a statement, in column order.
enum AgreementOption { StronglyDisagree, SlightlyDisagree, SlightlyAgree, StronglyAgree };
inline constexpr int kNoAnswer = -1;

// Subscale of statement n (1..35), and whether its key runs 3, 2, 1, 0.
Subscale SubscaleOf(int n);
bool ReversedStatement(int n);
// Raw score of an option (an AgreementOption) of statement n (NoiseSensitivitySubscaleKey).
int KeyScore(int n, int option);

// The band of the reference population ("Average" is its median plus and minus the confidence
// interval); both limits belong to the band (NoiseSensitivityNorms).
struct Norm {
    double low, high;
};
inline constexpr Norm kOverallNorm{1.11, 1.63};
inline constexpr std::array<Norm, kSubscales> kSubscaleNorms{
    {{0.59, 1.69}, {0.87, 1.99}, {0.68, 2.04}, {0.73, 1.85}, {1.08, 2.20}}};

// The rank word of a score and its bar value: 0..30 below the band, 30..60 within, 60..90 above.
struct Rank {
    const char* word;  // "Below Average", "Average", "Above Average"
    double bar;
};
Rank RankOf(double score, Norm norm);

// Option chosen for statement n at index n (1..35; index 0 unused), kNoAnswer when none.
using Answers = std::array<int, kStatements + 1>;

struct NoiseSensitivityScores {
    int PersonalSensitivityTotal = 0;    // statements answered
    double NoiseSensitivityTotal = 0;    // sum of all raw scores
    std::array<double, kSubscales> SubscaleTotals{};  // sums per subscale column
    // Overall score: the total over all 35 statements, answered or not.
    double Overall() const { return NoiseSensitivityTotal / kStatements; }
    // Score of a subscale on the 0..3 scale: its sum over its seven statements.
    double SubscaleScore(Subscale s) const { return SubscaleTotals[s] / kStatementsPerSubscale; }
};

// Unanswered statements add 0 to every sum.
NoiseSensitivityScores ScoreAnswers(const Answers& answers);

}  // namespace oxw::assessment
