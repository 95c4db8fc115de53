#include "assessment/NoiseSensitivityScore.h"

namespace oxw::assessment {

namespace {

struct StatementKey {
    Subscale subscale;
    bool reversed;
};

constexpr Subscale C = Communication, H = Habitation, L = Leisure, S = Sleeping, W = Work;

// Statements 1..35 at indexes 0..34.
constexpr StatementKey kKey[kStatements] = {
    {L, false}, {W, false}, {H, false}, {H, false}, {C, false},  //  1 ..  5
    {W, true},  {S, false}, {C, true},  {S, true},  {W, false},  //  6 .. 10
    {L, true},  {C, false}, {W, false}, {W, false}, {S, false},  // 11 .. 15
    {S, false}, {H, true},  {L, false}, {C, false}, {C, false},  // 16 .. 20
    {W, false}, {L, true},  {H, true},  {H, false}, {L, false},  // 21 .. 25
    {S, false}, {L, false}, {C, false}, {W, true},  {S, false},  // 26 .. 30
    {L, false}, {H, false}, {H, false}, {S, true},  {C, false},  // 31 .. 35
};

}  // namespace

Subscale SubscaleOf(int n) { return kKey[n - 1].subscale; }

bool ReversedStatement(int n) { return kKey[n - 1].reversed; }

int KeyScore(int n, int option) { return ReversedStatement(n) ? StronglyAgree - option : option; }

Rank RankOf(double score, Norm norm)
{
    if (score < norm.low) return {"Below Average", score / norm.low * 30};
    if (score <= norm.high) return {"Average", (score - norm.low) / (norm.high - norm.low) * 30 + 30};
    return {"Above Average", (score - norm.high) / (kMaxScore - norm.high) * 30 + 60};
}

NoiseSensitivityScores ScoreAnswers(const Answers& answers)
{
    NoiseSensitivityScores scores;
    for (int n = 1; n <= kStatements; ++n) {
        const int option = answers[n];
        if (option < StronglyDisagree || option > StronglyAgree) continue;
        const int score = KeyScore(n, option);
        ++scores.PersonalSensitivityTotal;
        scores.NoiseSensitivityTotal += score;
        scores.SubscaleTotals[SubscaleOf(n)] += score;
    }
    return scores;
}

}  // namespace oxw::assessment
