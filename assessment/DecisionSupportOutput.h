#pragma once
// "OXW Decision Support Analysis Results": joins the listener's noise sensitivity, the
// measured LAeq and the night annoyance into an intrusive-noise rating. The inputs arrive as
// texts of hidden edits ("not available" until written); the rating rules come later.

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Form.h"

namespace oxw::assessment {

// Text of a carrier edit that nothing has written yet.
inline constexpr const char* kNotAvailable = "not available";

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

private:
    QGroupBox* BuildCarriers();
    QGroupBox* BuildOutcome();
};

}  // namespace oxw::assessment
