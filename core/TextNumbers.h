// Every number of "Data/Language.txt" that the program looks up, by role.
// Windows and modules name texts only through these constants; the shipped
// language file defines each of them (a test checks it against `AllUsed`).
//
// A few numbers serve two controls at once (the same wording is shown in
// both places); they carry one name per role, with the same value.
#pragma once

#include <array>

namespace Text {

// ---- Program and shared captions -------------------------------------------
constexpr int ProgramTitle = 1;             // map and task-bar window titles
constexpr int Campaign = 2;                 // panel lblCampaign, skill window caption
constexpr int Region = 3;                   // panel lblRegion
constexpr int AllCharacters = 4;            // "<<< " + text + " >>>" first entry of cmbCharacter
constexpr int Profession = 5;               // panel lblClass
constexpr int NotCapturedBy = 6;            // optCapture(1)
constexpr int EliteName = 7;                // panel lblEliteName
constexpr int Locations = 8;                // panel lblLocations
constexpr int AllEntry = 9;                 // "<<< " + text + " >>>" first entry of every filter list
constexpr int SkillType = 10;               // skill window lblExtCaptionType
constexpr int CollectorHand = 10;           // collectors tab lblCollhand (same text)
constexpr int AllSkills = 11;               // optCapture(0)
constexpr int SecondaryProfession = 12;     // panel lblSecondaryProfession
constexpr int Characters = 13;              // character list title, lblCharacters of the mark dialogs
constexpr int ManageCharacters = 14;        // character list lblCharacters, options menu entry 8
constexpr int Create = 15;                  // character list cmdCreate
constexpr int Modify = 16;                  // character list cmdModify
constexpr int Delete = 17;                  // character list cmdDelete
constexpr int Cancel = 18;                  // cmdCancel of every dialog
constexpr int DeleteCharacterQuestion = 19; // text + " " + name + " ?"

// ---- Tab labels of the control panel ---------------------------------------
constexpr int TabElites = 20;
constexpr int TabCollectors = 21;
constexpr int TabGreens = 22;
constexpr int TabNotes = 23;
constexpr int TabTreasuresPets = 24;

// ---- Character editor -------------------------------------------------------
constexpr int CharacterName = 25; // lblName
constexpr int SelectAll = 26;     // cmdSelectAll
constexpr int Save = 27;          // note editor cmdSave, character editor cmdSave
constexpr int NameMissing = 28;   // error: empty character name
constexpr int NameTaken = 29;     // error: another character has the name
constexpr int LegendTitle = 30;   // legend title band
constexpr int DeselectAll = 31;   // cmdDeselectAll

// ---- Layers and the skill information window --------------------------------
constexpr int EliteSkills = 32;              // lblTot + ": " + count, show menu entry 0
constexpr int Boss = 33;                     // lblExtCaptionBoss
constexpr int LegendApproximate = 34;        // legend row "?"
constexpr int LegendOncePerVisit = 35;       // legend row "1"
constexpr int LegendAmbush = 36;             // legend row "a"
constexpr int LegendPatrol = 37;             // legend row "P"
constexpr int LegendChallenge = 38;          // legend row "C"
constexpr int LegendMissionOnly = 39;        // legend row "D"
constexpr int Note = 40;                     // lblExtCaptionNote
constexpr int Zone = 41;                     // panel lblZone, lblExtCaptionZone
constexpr int SaveCapture = 42;              // mark-elite dialog cmdSave
constexpr int CaptureExplanation = 43;       // mark-elite dialog lblExplanation
constexpr int Collectors = 44;               // lblCollectors + ": " + count, show menu entry 1
constexpr int NoAttribute = 45;              // attribute column of skills without attribute
constexpr int CollectorRequest = 46;         // lblCollRequest
constexpr int Search = 47;                   // lblCollSearch, lblGreenAdditional
constexpr int CollectorStuffType = 48;       // lblCollStuffType
constexpr int CollectorLocationCaption = 49; // collector window lblCollLocationCaption
constexpr int CollectorRequestCaption = 50;  // collector window lblCollRequestCaption
constexpr int WeaponCollectors = 51;         // optCollType(1), legend row "Coll1"
constexpr int ArmourCollectors = 52;         // optCollType(2), legend row "Coll2"
constexpr int Attribute = 53;                // panel lblAttribute, lblExtCaptionAttribute
constexpr int HandOne = 54;                  // cmbCollHand, item data 1: one-handed weapons
constexpr int HandOff = 55;                  // cmbCollHand, item data 2: shields and foci
constexpr int HandTwo = 56;                  // cmbCollHand, item data 4: two-handed weapons
constexpr int HandRanged = 57;               // cmbCollHand, item data 8: ranged weapons
constexpr int GreenName = 58;                // lblGreenName
constexpr int GreenItems = 59;               // lblGreensList + ": " + count, show menu entry 2
constexpr int LegendNoElite = 60;            // legend row "noBoss"
constexpr int LegendGreen = 61;              // legend row "Green"
constexpr int ShowLegend = 62;               // options menu entry 0
constexpr int NoteShortDescFilter = 63;      // notes tab lblNoteShortDesc
constexpr int NoteBodyFilter = 64;           // notes tab lblNoteBody
constexpr int Notes = 65;                    // lblNoteList + ": " + count, note editor title, show menu entry 3
constexpr int NoteInsert = 66;               // map menu mnuNoteInsert
constexpr int NoteEdit = 67;                 // map menu mnuNoteEdit
constexpr int NoteDelete = 68;               // map menu mnuNoteDelete
constexpr int NoteShortDesc = 69;            // note editor lblShortDesc
constexpr int NoteBody = 70;                 // note editor lblNoteBody
constexpr int CharacterCampaign = 70;        // character editor lblCampaign (same text)
constexpr int NoteShortDescMissing = 71;     // error: empty short description
constexpr int DeleteNoteQuestion = 72;
constexpr int LegendNote = 73;           // legend row "Notes"
constexpr int TooltipHeading = 74;       // options menu entry 3 (heading)
constexpr int TooltipWhileHeld = 75;     // options menu entry 5: mode 0
constexpr int TooltipOnHover = 76;       // options menu entry 6: mode 1
constexpr int InvertSelection = 77;      // character editor cmdInvertSelection
constexpr int NeverUpdated = 78;         // last update date before any update
constexpr int CharacterEditorTitle = 79; // character editor window title
constexpr int CapturedSkills = 80;       // character editor lblElite
constexpr int CreditsMenu = 81;          // help menu entry 3
constexpr int Quit = 82;                 // panel cmdQuit
constexpr int Treasures = 83;            // lblTreasures + ": " + count, legend row "Treas"
constexpr int InformationTitle = 84;     // information window title
constexpr int OpenedByCharacter = 85;    // treasure window: left column heading
constexpr int TreasureExplanation = 86;  // mark-treasure dialog lblExplanation
constexpr int NoCharacters = 87;         // treasure window without characters
constexpr int NoNamedCharacters = 88;    // treasure window when every character is unnamed
constexpr int HistoryMenu = 89;          // help menu entry 5
constexpr int LegendProfessions = 90;    // legend: heading of the profession colours
constexpr int TooltipSticky = 91;        // options menu entry 4: mode 2
constexpr int MarkOpenedOn = 92;         // mark-treasure cmdSave: text + " " + date
constexpr int UpdateMenu = 93;           // help menu entry 0
constexpr int StartPictureHint = 94;     // map window start picture
constexpr int AlwaysOnTop = 95;          // options menu entry 1
constexpr int AnySecondary = 96;         // "<<< " + text + " >>>" of cmbSecondaryProfession
constexpr int CollectorLevel = 97;       // lblCollectorLevel
constexpr int LowLevel = 98;             // optCollLevel(1)
constexpr int HighLevel = 99;            // optCollLevel(2)
constexpr int BossName = 100;            // panel lblBossName
constexpr int CharacterProfession = 101; // character editor lblProfession
constexpr int CreditsTitle = 102;        // credits window title
constexpr int Close = 103;               // credits window cmdCancel
constexpr int InvalidDate = 104;         // mark-treasure dialog: not a date
constexpr int MarkTreasureTitle = 105;   // mark-treasure dialog title
constexpr int OpenedOnHeading = 106;     // treasure window: right column heading
constexpr int WebSiteMenu = 107;         // help menu entry 1
constexpr int FeedbackMenu = 108;        // help menu entry 4 (no action yet)
constexpr int HelpMenu = 109;            // menu title 2, help menu entry 6
constexpr int AboutMenu = 110;           // help menu entry 8
constexpr int ShowMenu = 111;            // menu title 0
constexpr int OptionsMenu = 112;         // menu title 1
constexpr int TreasuresAndPets = 113;    // show menu entry 4
constexpr int Pets = 114;                // lblPets + ": " + count
constexpr int PetLocations = 115;        // lblPetLocations
constexpr int NotOpenedBy = 116;         // lblTreasureCharacter
constexpr int FindAnything = 117;        // the panel's search field, when empty
constexpr int KindSkill = 118;           // search result kind
constexpr int KindCollector = 119;       // search result kind
constexpr int KindReward = 120;          // search result kind
constexpr int KindGreen = 121;           // search result kind
constexpr int KindChest = 122;           // search result kind
constexpr int KindPet = 123;             // search result kind
constexpr int NothingFound = 124;        // search results: no match
constexpr int ProgressTitle = 125;       // options menu entry 9, progress window title
constexpr int ProgressTotal = 126;       // progress window: the total row
constexpr int ChestsOpened = 127;        // progress window: heading of the chest rows
constexpr int StillNeededBy = 128;       // elite tab: "%1 of %2 characters still need this"
constexpr int UndoUpdateMenu = 129;      // help menu entry 9: starts the updater's undo

// The first text a language file from before these additions may lack; each
// from here on has a built-in English text used in its place.
constexpr int FirstAddedText = NotOpenedBy;

// Every number above once, ascending (the second name of a shared number is
// left out).
inline constexpr std::array AllUsed{
    ProgramTitle,
    Campaign,
    Region,
    AllCharacters,
    Profession,
    NotCapturedBy,
    EliteName,
    Locations,
    AllEntry,
    SkillType,
    AllSkills,
    SecondaryProfession,
    Characters,
    ManageCharacters,
    Create,
    Modify,
    Delete,
    Cancel,
    DeleteCharacterQuestion,
    TabElites,
    TabCollectors,
    TabGreens,
    TabNotes,
    TabTreasuresPets,
    CharacterName,
    SelectAll,
    Save,
    NameMissing,
    NameTaken,
    LegendTitle,
    DeselectAll,
    EliteSkills,
    Boss,
    LegendApproximate,
    LegendOncePerVisit,
    LegendAmbush,
    LegendPatrol,
    LegendChallenge,
    LegendMissionOnly,
    Note,
    Zone,
    SaveCapture,
    CaptureExplanation,
    Collectors,
    NoAttribute,
    CollectorRequest,
    Search,
    CollectorStuffType,
    CollectorLocationCaption,
    CollectorRequestCaption,
    WeaponCollectors,
    ArmourCollectors,
    Attribute,
    HandOne,
    HandOff,
    HandTwo,
    HandRanged,
    GreenName,
    GreenItems,
    LegendNoElite,
    LegendGreen,
    ShowLegend,
    NoteShortDescFilter,
    NoteBodyFilter,
    Notes,
    NoteInsert,
    NoteEdit,
    NoteDelete,
    NoteShortDesc,
    NoteBody,
    NoteShortDescMissing,
    DeleteNoteQuestion,
    LegendNote,
    TooltipHeading,
    TooltipWhileHeld,
    TooltipOnHover,
    InvertSelection,
    NeverUpdated,
    CharacterEditorTitle,
    CapturedSkills,
    CreditsMenu,
    Quit,
    Treasures,
    InformationTitle,
    OpenedByCharacter,
    TreasureExplanation,
    NoCharacters,
    NoNamedCharacters,
    HistoryMenu,
    LegendProfessions,
    TooltipSticky,
    MarkOpenedOn,
    UpdateMenu,
    StartPictureHint,
    AlwaysOnTop,
    AnySecondary,
    CollectorLevel,
    LowLevel,
    HighLevel,
    BossName,
    CharacterProfession,
    CreditsTitle,
    Close,
    InvalidDate,
    MarkTreasureTitle,
    OpenedOnHeading,
    WebSiteMenu,
    FeedbackMenu,
    HelpMenu,
    AboutMenu,
    ShowMenu,
    OptionsMenu,
    TreasuresAndPets,
    Pets,
    PetLocations,
    NotOpenedBy,
    FindAnything,
    KindSkill,
    KindCollector,
    KindReward,
    KindGreen,
    KindChest,
    KindPet,
    NothingFound,
    ProgressTitle,
    ProgressTotal,
    ChestsOpened,
    StillNeededBy,
    UndoUpdateMenu,
};

} // namespace Text
