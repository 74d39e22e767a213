// The entries of the control panel's filter combos, computed from the loaded
// tables: campaigns, regions, zones, professions, attributes and characters.
// Each fill gives the entries (text, item data) with the first entry
// selected, and whether the combo and its caption are enabled.
#pragma once

#include "core/modCampaigns.h"
#include "core/modLanguage.h"
#include "elite/modCharacters.h"
#include "elite/modProfessions.h"
#include "world/PanelState.h"

namespace modPanelLists {

struct ComboFill {
    PanelList list;      // first entry selected when not empty
    bool enabled = true; // the combo and its caption label
};

// Item data of the attribute entry for skills without attribute.
constexpr int kNoAttributeData = 99;

// "<<< " + text n + " >>>"
QString FirstEntryText(const modLanguage::LanguageStrings& language, int n);

// The first entry (item data -1), then every named campaign in number order
// with its number.
ComboFill FillCampaignList(const CampaignTable& campaigns, const modLanguage::LanguageStrings& language);

// The regions of campaign c (the item data of the chosen cmbCampaign entry)
// in the region list order, after the first entry (item data 0); disabled and
// empty when no campaign is chosen (c = -1).
ComboFill FillRegionList(const CampaignTable& campaigns, const modLanguage::LanguageStrings& language, int c);

// The zones of campaign c, region r, sorted by name with letter case ignored
// after the first entry (item data 0); item data = position in the region's
// zone list. Disabled and empty when no region is chosen (r < 1).
ComboFill FillZoneList(const CampaignTable& campaigns, const modLanguage::LanguageStrings& language, int c, int r);

// cmbProfession (first entry from text 9) and cmbSecondaryProfession (from
// text 96): professions 1..highest by name in number order, item data = number.
ComboFill FillProfessionCombo(const modProfessions::Tables& professions, const modLanguage::LanguageStrings& language,
                              int firstEntryText);

// The attributes of profession p (item data = attribute index), then the
// no-attribute entry (text 45, item data 99); disabled with only the first
// entry when p < 1.
ComboFill FillAttributeCombo(const modProfessions::Tables& professions, const modLanguage::LanguageStrings& language,
                             int p);

// The all-characters entry (text 4, item data 0), then every named character
// in number order with its number.
ComboFill FillCharacterCombo(const modCharacters::Tables& characters, const modLanguage::LanguageStrings& language);

} // namespace modPanelLists
