#pragma once
// Parncutt's tonalness measures, chroma and pitch tallies: the last stage of the pitch model of a
// block. From the compound pitch pattern sorted by weight (entries 1..n, weight w_i):
// - pure tonalness sqrt(sum w_i^2 / 5.2), complex tonalness (largest virtual-pitch weight) / 6.2,
//   multiplicity sqrt(sum w_i / w_1), all dimensionless;
// - the salience of each entry, w_i / sqrt(w_1 sum w_i);
// - the tallies of the salience over the 12 pitch classes (chroma 0 = A) and the 88 piano keys
//   (key 0 = A0, 48 = the A at the tuning ATune Hz, 87 = C8): the nearest semitone takes
//   (100 - cents)% of an entry's salience and the neighbouring one in the direction of the
//   deviation the rest; a key tally takes only the shares of keys within A0..C8.
namespace oxw::engine {

// The name of a pitch f (Hz, > 0) against the tuning aTune (Hz).
struct ChromaName {
    double Pitch = 0;  // semitones above A within the octave, 0 <= Pitch < 12
    int Cents = 0;     // deviation from the nearest semitone, 0..50
    char PlusMinus = '+';
    int Note = 0;  // nearest piano key; may lie outside 0..87
};
ChromaName NameOfPitch(double f, double aTune);
// The same with LOG2(aTune) worked out beforehand.
ChromaName NameOfPitch(double f, double aTune, double log2ATune);

}  // namespace oxw::engine
