#pragma once
// "OXW Decision Support Analysis Results": joins the listener's noise sensitivity, the
// measured LAeq and the night annoyance into an intrusive-noise rating (DecisionRules), shown
// when the user presses "Show Rating". The inputs arrive as texts of hidden edits ("not
// available" until written): the questionnaire writes the score and its answer flags, the end
// of an analysis the LAeq and the annoyance.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "assessment/CarrierText.h"
#include "platform/Form.h"

namespace oxw::assessment {

class TDecisionSupportOutput : public platform::Form {
    Q_OBJECT
public:
    explicit TDecisionSupportOutput(QWidget* parent = nullptr);

    // Hidden carriers, group "Things not seen in final version".
    QLineEdit* NsOverallOutput;
    QLineEdit* LAEQOutput;
    QLineEdit* UBAmOutput;
    QLineEdit* LE24Output;
    QLineEdit* LE25Output;
    QLineEdit* LE26Output;
    QLineEdit* LE27Output;
    QLineEdit* LE28Output;
    QLineEdit* LE31Output;
    QLineEdit* LE32Output;
    QLineEdit* SC58Output;
    QLineEdit* SC75Output;
    QLineEdit* SC76Output;
    QLineEdit* SC78Output;
    QLineEdit* SC80Output;
    QLineEdit* SC81Output;
    QLineEdit* LE58Output;

    QPushButton* ShowRating;
    QPushButton* Exit;
    QGroupBox* RatingOutcome;  // hidden until a rating is shown
    QLabel* NoiseSensitivityOutcome;
    QLabel* SoundscapeAndAmenityOutcome;
    QLabel* AmenityOutcome;
    QLabel* AdverseEffectsOutcome;
    QLabel* ErrorCondition;  // hidden

    // Set by the soundscape rules of the last evaluation, read by its adverse-effect rules.
    bool Line20 = false;
    bool Line25 = false;

    // "Show Rating": evaluates the rules from the carriers' current texts. Each evaluation
    // starts from hidden outcome labels; a carrier text that is not a number counts as
    // "not available".
    void ShowRatingClick();

private:
    QGroupBox* BuildCarriers();
    QGroupBox* BuildOutcome();
};

}  // namespace oxw::assessment
