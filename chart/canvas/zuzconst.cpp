#include "chart/canvas/zuzconst.h"

String VavIve_ZuzExtension = u"zuz";
String VavIve_Copyright;
String VavIve_Test;
String VavIve_LegendFirstValue;
String VavIve_LegendColorWidth;
String VavIve_SeriesSetDataSource;
String VavIve_SeriesInvDataSource;
String VavIve_FillSample;
String VavIve_AxisLogDateTime;
String VavIve_AxisLogNotPositive;
String VavIve_AxisLabelSep;
String VavIve_AxisIncrementNeg;
String VavIve_AxisMinMax;
String VavIve_AxisMaxMin;
String VavIve_AxisLogBase;
String VavIve_MaxPointsPerPage;
String VavIve_3dPercent;
String VavIve_CircularSeries;
String VavIve_WarningHiColor;
String VavIve_DefaultPercentOf;
String VavIve_DefaultPercentOf2;
String VavIve_DefPercentFormat;
String VavIve_DefValueFormat;
String VavIve_DefLogValueFormat;
String VavIve_AxisTitle;
String VavIve_AxisLabels;
String VavIve_RefreshInterval;
String VavIve_SeriesParentNoSelf;
String VavIve_GalleryLine;
String VavIve_GalleryPoint;
String VavIve_GalleryArea;
String VavIve_GalleryBar;
String VavIve_GalleryHorizBar;
String VavIve_Stack;
String VavIve_GalleryPie;
String VavIve_GalleryCircled;
String VavIve_GalleryFastLine;
String VavIve_GalleryHorizLine;
String VavIve_PieSample1;
String VavIve_PieSample2;
String VavIve_PieSample3;
String VavIve_PieSample4;
String VavIve_PieSample5;
String VavIve_PieSample6;
String VavIve_PieSample7;
String VavIve_PieSample8;
String VavIve_GalleryLogoFont;
String VavIve_Editing;
String VavIve_GalleryStandard;
String VavIve_GalleryExtended;
String VavIve_GalleryFunctions;
String VavIve_EditChart;
String VavIve_PrintPreview;
String VavIve_ExportChart;
String VavIve_CustomAxes;
String VavIve_InvalidEditorClass;
String VavIve_MissingEditorClass;
String VavIve_GalleryArrow;
String VavIve_ExpFinish;
String VavIve_ExpNext;
String VavIve_GalleryGantt;
String VavIve_GanttSample1;
String VavIve_GanttSample2;
String VavIve_GanttSample3;
String VavIve_GanttSample4;
String VavIve_GanttSample5;
String VavIve_GanttSample6;
String VavIve_GanttSample7;
String VavIve_GanttSample8;
String VavIve_GanttSample9;
String VavIve_GanttSample10;
String VavIve_ChangeSeriesTitle;
String VavIve_NewSeriesTitle;
String VavIve_DateTime;
String VavIve_TopAxis;
String VavIve_BottomAxis;
String VavIve_LeftAxis;
String VavIve_RightAxis;
String VavIve_SureToDelete;
String VavIve_DateTimeFormat;
String VavIve_Default;
String VavIve_ValuesFormat;
String VavIve_Maximum;
String VavIve_Minimum;
String VavIve_DesiredIncrement;
String VavIve_IncorrectMaxMinValue;
String VavIve_EnterDateTime;
String VavIve_SureToApply;
String VavIve_SelectedSeries;
String VavIve_RefreshData;
String VavIve_DefaultFontSize;
String VavIve_DefaultEditorSize;
String VavIve_DefaultEditorHeight;
String VavIve_FunctionAdd;
String VavIve_FunctionSubtract;
String VavIve_FunctionMultiply;
String VavIve_FunctionDivide;
String VavIve_FunctionHigh;
String VavIve_FunctionLow;
String VavIve_FunctionAverage;
String VavIve_GalleryShape;
String VavIve_GalleryBubble;
String VavIve_FunctionNone;
String VavIve_None;
String VavIve_PrivateDeclarations;
String VavIve_PublicDeclarations;
String VavIve_DefaultFontName;
String VavIve_CheckPointerSize;
String VavIve_About;
String tcAdditional;
String tcDControls;
String tcQReport;
String VavIve_DataSet;
String VavIve_AskDataSet;
String VavIve_SingleRecord;
String VavIve_AskDataSource;
String VavIve_Summary;
String VavIve_FunctionPeriod;
String VavIve_WizardTab;
String VavIve_VedIrureWizard;
String VavIve_ClearImage;
String VavIve_BrowseImage;
String VavIve_WizardSureToClose;
String VavIve_FieldNotFound;
String VavIve_DepthAxis;
String VavIve_PieOther;
String VavIve_ShapeGallery1;
String VavIve_ShapeGallery2;
String VavIve_ValuesX;
String VavIve_ValuesY;
String VavIve_ValuesPie;
String VavIve_ValuesBar;
String VavIve_ValuesAngle;
String VavIve_ValuesGanttStart;
String VavIve_ValuesGanttEnd;
String VavIve_ValuesGanttNextTask;
String VavIve_ValuesBubbleRadius;
String VavIve_ValuesArrowEndX;
String VavIve_ValuesArrowEndY;
String VavIve_Legend;
String VavIve_Title;
String VavIve_Foot;
String VavIve_Period;
String VavIve_PeriodRange;
String VavIve_CalcPeriod;
String VavIve_SmallDotsPen;
String VavIve_InvalidZuzFile;
String VavIve_WrongZuzFileFormat;
String VavIve_EmptyZuzFile;
String VavIve_ChartAxesCategoryName;
String VavIve_ChartAxesCategoryDesc;
String VavIve_ChartWallsCategoryName;
String VavIve_ChartWallsCategoryDesc;
String VavIve_ChartTitlesCategoryName;
String VavIve_ChartTitlesCategoryDesc;
String VavIve_Chart3DCategoryName;
String VavIve_Chart3DCategoryDesc;
String VavIve_CustomAxesEditor;
String VavIve_Series;
String VavIve_SeriesList;
String VavIve_PageOfPages;
String VavIve_FileSize;
String VavIve_First;
String VavIve_Prior;
String VavIve_Next;
String VavIve_Last;
String VavIve_Insert;
String VavIve_Delete;
String VavIve_Edit;
String VavIve_Post;
String VavIve_Cancel;
String VavIve_All;
String VavIve_Index;
String VavIve_Text;
String VavIve_AsBMP;
String VavIve_BMPFilter;
String VavIve_AsEMF;
String VavIve_EMFFilter;
String VavIve_ExportPanelNotSet;
String VavIve_Normal;
String VavIve_NoBorder;
String VavIve_Dotted;
String VavIve_Colors;
String VavIve_Filled;
String VavIve_Marks;
String VavIve_Stairs;
String VavIve_Points;
String VavIve_Height;
String VavIve_Hollow;
String VavIve_Point2D;
String VavIve_Triangle;
String VavIve_Star;
String VavIve_Circle;
String VavIve_DownTri;
String VavIve_Cross;
String VavIve_Diamond;
String VavIve_NoLines;
String VavIve_Stack100;
String VavIve_Pyramid;
String VavIve_Ellipse;
String VavIve_InvPyramid;
String VavIve_Sides;
String VavIve_SideAll;
String VavIve_Patterns;
String VavIve_Exploded;
String VavIve_Shadow;
String VavIve_SemiPie;
String VavIve_Rectangle;
String VavIve_VertLine;
String VavIve_HorizLine;
String VavIve_Line;
String VavIve_Cube;
String VavIve_DiagCross;
String VavIve_CanNotFindTempPath;
String VavIve_CanNotCreateTempChart;
String VavIve_CanNotEmailChart;
String VavIve_SeriesDelete;
String VavIve_NoSeriesSelected;
String VavIve_CannotLoadChartFromURL;
String VavIve_CannotLoadSeriesDataFromURL;
String VavIve_AsJPEG;
String VavIve_JPEGFilter;
String VavIve_AsGIF;
String VavIve_GIFFilter;
String VavIve_AsPNG;
String VavIve_PNGFilter;
String VavIve_AsPCX;
String VavIve_PCXFilter;
String VavIve_AsVML;
String VavIve_VMLFilter;
String VavIve_AskLanguage;
String VavIve_TextFile;
String VavIve_Gradient;
String VavIve_WantToSave;
String VavIve_NativeFilter;
String VavIve_Property;
String VavIve_Value;
String VavIve_Yes;
String VavIve_No;
String VavIve_Image;
String VavIve_FunctionCustom;
String VavIve_AsPDF;
String VavIve_PDFFilter;
String VavIve_AsPS;
String VavIve_PSFilter;
String VavIve_GalleryHorizArea;
String VavIve_SelfStack;
String VavIve_DarkPen;
String VavIve_SelectFolder;
String VavIve_BDEAlias;
String VavIve_ADOConnection;
String VavIve_Apply;
String VavIve_AddNewGroup;
String VavIve_ChangeGroupName;
String VavIve_GroupName;
String VavIve_FunctionMedian;
String VavIve_FunctionMode;
String VavIve_Options;
String VavIve_DepthTopAxis;
String VavIve_View2D;
String VavIve_Outline;
String VavIve_TextFilter1;
String VavIve_TextFilter2;
String VavIve_TextFilter3;
String VavIve_TextFilter4;
String VavIve_TextFilter5;
String VavIve_XMLFilter;
String VavIve_HTMLFilter;
String VavIve_ExcelFilter;
String VavIve_ViewOrthoRight;
String VavIve_ViewOrthoLeft;
String VavIve_View3DFront;
String VavIve_View3DRight;
String VavIve_View3DLeft;
String VavIve_AsSVG;
String VavIve_SVGFilter;
String VavIve_SubTitle;
String VavIve_SubFoot;
String VavIve_FunctionSubset;
String VavIve_Hexagon;
String VavIve_AntiAlias;
String VavIve_Percent;
String VavIve_Smooth;
String VavIve_Blur;
String VavIve_Width;
String VavIve_Resize;
String VavIve_Left;
String VavIve_Top;
String VavIve_Crop;
String VavIve_Invert;
String VavIve_GrayScale;
String VavIve_Mosaic;
String VavIve_Flip;
String VavIve_Reverse;
String VavIve_Brightness;
String VavIve_Color;
String VavIve_HueLumSat;
String VavIve_Sharpen;
String VavIve_GammaCorrection;
String VavIve_Emboss;
String VavIve_Contrast;
String VavIve_Rotate;
String VavIve_Back;
String VavIve_Autosize;
String VavIve_Mirror;
String VavIve_Columns;
String VavIve_Rows;
String VavIve_Tile;
String VavIve_Bevel;
String VavIve_Zoom;
String VavIve_ThemeDefault;
String VavIve_ThemeVedIrure;
String VavIve_ThemeExcel;
String VavIve_ThemeVictorian;
String VavIve_ThemePastels;
String VavIve_ThemeSolid;
String VavIve_ThemeClassic;
String VavIve_ThemeWeb;
String VavIve_ThemeModern;
String VavIve_ThemeRainbow;
String VavIve_ThemeWinXP;
String VavIve_ThemeMacOS;
String VavIve_ThemeWinVista;
String VavIve_ThemeGrayScale;
String VavIve_ThemeOpera;
String VavIve_ThemeWarm;
String VavIve_ThemeCool;
String VavIve_MenuFilters;
String VavIve_CrossTab;
String VavIve_DBSumEditCaption;
String VavIve_AsFlex;
String VavIve_FlexFilter;
String VavIve_AsXAML;
String VavIve_XAMLFilter;
String VavIve_SelectTmpFolder;
String VavIve_PathAdobeFlexCompiler;
String ZuzPolarDegreeSymbol;
String VavIve_NewChart;
String VavIve_RenameChart;
String VavIve_ChartName;
String VavIve_SelectTextFile;
String VavIve_SaveTextFile;
String VavIve_RecordVideo;

namespace {
// Every entry with its English text, in table order. The three file messages are built around
// the native extension: their text goes before it, AfterExtension after it.
const TZuzMessage kMessages[] = {
    {&VavIve_Copyright, u"Copyright (c) Dedara Software"},
    {&VavIve_Test, u"Test..."},
    {&VavIve_LegendFirstValue, u"First Legend Value must be > 0"},
    {&VavIve_LegendColorWidth, u"Legend Color Width must be between 0 and 100 %"},
    {&VavIve_SeriesSetDataSource, u"No ParentChart to validate DataSource"},
    {&VavIve_SeriesInvDataSource, u"No valid DataSource: %s"},
    {&VavIve_FillSample, u"FillSampleValues NumValues must be > 0"},
    {&VavIve_AxisLogDateTime, u"DateTime Axis cannot be Logarithmic"},
    {&VavIve_AxisLogNotPositive, u"Logarithmic Axis Min and Max values should be >= 0"},
    {&VavIve_AxisLabelSep, u"Labels Separation % must be greater than 0"},
    {&VavIve_AxisIncrementNeg, u"Axis increment must be >= 0"},
    {&VavIve_AxisMinMax, u"Axis Minimum Value must be <= Maximum"},
    {&VavIve_AxisMaxMin, u"Axis Maximum Value must be >= Minimum"},
    {&VavIve_AxisLogBase, u"Axis Logarithmic Base should be <> 1 and > 0"},
    {&VavIve_MaxPointsPerPage, u"MaxPointsPerPage must be >= 0"},
    {&VavIve_3dPercent, u"3D effect percent must be between %d and %d"},
    {&VavIve_CircularSeries, u"Circular Series dependences are not allowed"},
    {&VavIve_WarningHiColor, u"16k Color or greater required to get better look"},
    {&VavIve_DefaultPercentOf, u"%s of %s"},
    {&VavIve_DefaultPercentOf2, u"%s\rof %s"},
    {&VavIve_DefPercentFormat, u"##0.## %"},
    {&VavIve_DefValueFormat, u"#,##0.###"},
    {&VavIve_DefLogValueFormat, u"#.0 \"x10\" E+0"},
    {&VavIve_AxisTitle, u"Axis Title"},
    {&VavIve_AxisLabels, u"Axis Labels"},
    {&VavIve_RefreshInterval, u"Refresh Interval must be between 0 and 60"},
    {&VavIve_SeriesParentNoSelf, u"Series.ParentChart is not myself!"},
    {&VavIve_GalleryLine, u"Line"},
    {&VavIve_GalleryPoint, u"Point"},
    {&VavIve_GalleryArea, u"Area"},
    {&VavIve_GalleryBar, u"Bar"},
    {&VavIve_GalleryHorizBar, u"Horizontal\rBar"},
    {&VavIve_Stack, u"Stack"},
    {&VavIve_GalleryPie, u"Pie"},
    {&VavIve_GalleryCircled, u"Circled"},
    {&VavIve_GalleryFastLine, u"Fast Line"},
    {&VavIve_GalleryHorizLine, u"Horizontal\rLine"},
    {&VavIve_PieSample1, u"Cars"},
    {&VavIve_PieSample2, u"Phones"},
    {&VavIve_PieSample3, u"Tables"},
    {&VavIve_PieSample4, u"Monitors"},
    {&VavIve_PieSample5, u"Lamps"},
    {&VavIve_PieSample6, u"Keyboards"},
    {&VavIve_PieSample7, u"Bikes"},
    {&VavIve_PieSample8, u"Chairs"},
    {&VavIve_GalleryLogoFont, u"Courier New"},
    {&VavIve_Editing, u"Editing %s"},
    {&VavIve_GalleryStandard, u"Standard"},
    {&VavIve_GalleryExtended, u"Extended"},
    {&VavIve_GalleryFunctions, u"Functions"},
    {&VavIve_EditChart, u"E&dit Chart..."},
    {&VavIve_PrintPreview, u"&Print Preview..."},
    {&VavIve_ExportChart, u"E&xport Chart..."},
    {&VavIve_CustomAxes, u"&Custom Axes..."},
    {&VavIve_InvalidEditorClass, u"%s: Invalid Editor Class: %s"},
    {&VavIve_MissingEditorClass, u"%s: has no Editor Dialog"},
    {&VavIve_GalleryArrow, u"Arrow"},
    {&VavIve_ExpFinish, u"&Finish"},
    {&VavIve_ExpNext, u"&Next >"},
    {&VavIve_GalleryGantt, u"Gantt"},
    {&VavIve_GanttSample1, u"Design"},
    {&VavIve_GanttSample2, u"Prototyping"},
    {&VavIve_GanttSample3, u"Development"},
    {&VavIve_GanttSample4, u"Sales"},
    {&VavIve_GanttSample5, u"Marketing"},
    {&VavIve_GanttSample6, u"Testing"},
    {&VavIve_GanttSample7, u"Manufac."},
    {&VavIve_GanttSample8, u"Debugging"},
    {&VavIve_GanttSample9, u"New Version"},
    {&VavIve_GanttSample10, u"Banking"},
    {&VavIve_ChangeSeriesTitle, u"Change Series Title"},
    {&VavIve_NewSeriesTitle, u"New Series Title:"},
    {&VavIve_DateTime, u"DateTime"},
    {&VavIve_TopAxis, u"Top Axis"},
    {&VavIve_BottomAxis, u"Bottom Axis"},
    {&VavIve_LeftAxis, u"Left Axis"},
    {&VavIve_RightAxis, u"Right Axis"},
    {&VavIve_SureToDelete, u"Delete %s ?"},
    {&VavIve_DateTimeFormat, u"DateTime For&mat:"},
    {&VavIve_Default, u"Default"},
    {&VavIve_ValuesFormat, u"Values For&mat:"},
    {&VavIve_Maximum, u"Maximum"},
    {&VavIve_Minimum, u"Minimum"},
    {&VavIve_DesiredIncrement, u"Desired %s Increment"},
    {&VavIve_IncorrectMaxMinValue, u"Incorrect value. Reason: %s"},
    {&VavIve_EnterDateTime, u"Enter [Number of Days] [hh:nn:ss]"},
    {&VavIve_SureToApply, u"Apply Changes ?"},
    {&VavIve_SelectedSeries, u"(Selected Series)"},
    {&VavIve_RefreshData, u"&Refresh Data"},
    {&VavIve_DefaultFontSize, u"8"},
    {&VavIve_DefaultEditorSize, u"414"},
    {&VavIve_DefaultEditorHeight, u"347"},
    {&VavIve_FunctionAdd, u"Add"},
    {&VavIve_FunctionSubtract, u"Subtract"},
    {&VavIve_FunctionMultiply, u"Multiply"},
    {&VavIve_FunctionDivide, u"Divide"},
    {&VavIve_FunctionHigh, u"High"},
    {&VavIve_FunctionLow, u"Low"},
    {&VavIve_FunctionAverage, u"Average"},
    {&VavIve_GalleryShape, u"Shape"},
    {&VavIve_GalleryBubble, u"Bubble"},
    {&VavIve_FunctionNone, u"Copy"},
    {&VavIve_None, u"(none)"},
    {&VavIve_PrivateDeclarations, u"{ Private declarations }"},
    {&VavIve_PublicDeclarations, u"{ Public declarations }"},
    {&VavIve_DefaultFontName, u"Arial"},
    {&VavIve_CheckPointerSize, u"Pointer size must be greater than zero"},
    {&VavIve_About, u"Abo&ut VedIrure..."},
    {&tcAdditional, u"Additional"},
    {&tcDControls, u"Data Controls"},
    {&tcQReport, u"QReport"},
    {&VavIve_DataSet, u"Dataset"},
    {&VavIve_AskDataSet, u"&Dataset:"},
    {&VavIve_SingleRecord, u"Single Record"},
    {&VavIve_AskDataSource, u"&DataSource:"},
    {&VavIve_Summary, u"Summary"},
    {&VavIve_FunctionPeriod, u"Function Period should be >= 0"},
    {&VavIve_WizardTab, u"Business"},
    {&VavIve_VedIrureWizard, u"VedIrure Chart Wizard"},
    {&VavIve_ClearImage, u"Clea&r"},
    {&VavIve_BrowseImage, u"B&rowse..."},
    {&VavIve_WizardSureToClose, u"Are you sure that you want to close the VedIrure Chart Wizard?"},
    {&VavIve_FieldNotFound, u"Field %s does not exist"},
    {&VavIve_DepthAxis, u"Depth Right"},
    {&VavIve_PieOther, u"Other"},
    {&VavIve_ShapeGallery1, u"abc"},
    {&VavIve_ShapeGallery2, u"123"},
    {&VavIve_ValuesX, u"X"},
    {&VavIve_ValuesY, u"Y"},
    {&VavIve_ValuesPie, u"Pie"},
    {&VavIve_ValuesBar, u"Bar"},
    {&VavIve_ValuesAngle, u"Angle"},
    {&VavIve_ValuesGanttStart, u"Start"},
    {&VavIve_ValuesGanttEnd, u"End"},
    {&VavIve_ValuesGanttNextTask, u"NextTask"},
    {&VavIve_ValuesBubbleRadius, u"Radius"},
    {&VavIve_ValuesArrowEndX, u"EndX"},
    {&VavIve_ValuesArrowEndY, u"EndY"},
    {&VavIve_Legend, u"Legend"},
    {&VavIve_Title, u"Title"},
    {&VavIve_Foot, u"Footer"},
    {&VavIve_Period, u"Period"},
    {&VavIve_PeriodRange, u"Period range"},
    {&VavIve_CalcPeriod, u"Calculate %s every:"},
    {&VavIve_SmallDotsPen, u"Small Dots"},
    {&VavIve_InvalidZuzFile, u"Invalid Chart in *.", u" file"},
    {&VavIve_WrongZuzFileFormat, u"Wrong *.", u" file format"},
    {&VavIve_EmptyZuzFile, u"Empty *.", u" file"},
    {&VavIve_ChartAxesCategoryName, u"Chart Axes"},
    {&VavIve_ChartAxesCategoryDesc, u"Chart Axes properties and events"},
    {&VavIve_ChartWallsCategoryName, u"Chart Walls"},
    {&VavIve_ChartWallsCategoryDesc, u"Chart Walls properties and events"},
    {&VavIve_ChartTitlesCategoryName, u"Chart Titles"},
    {&VavIve_ChartTitlesCategoryDesc, u"Chart Titles properties and events"},
    {&VavIve_Chart3DCategoryName, u"Chart 3D"},
    {&VavIve_Chart3DCategoryDesc, u"Chart 3D properties and events"},
    {&VavIve_CustomAxesEditor, u"Custom "},
    {&VavIve_Series, u"Series"},
    {&VavIve_SeriesList, u"Series List"},
    {&VavIve_PageOfPages, u"Page %d of %d"},
    {&VavIve_FileSize, u"%d bytes"},
    {&VavIve_First, u"First"},
    {&VavIve_Prior, u"Prior"},
    {&VavIve_Next, u"Next"},
    {&VavIve_Last, u"Last"},
    {&VavIve_Insert, u"Insert"},
    {&VavIve_Delete, u"Delete"},
    {&VavIve_Edit, u"Edit"},
    {&VavIve_Post, u"Post"},
    {&VavIve_Cancel, u"Cancel"},
    {&VavIve_All, u"(all)"},
    {&VavIve_Index, u"Index"},
    {&VavIve_Text, u"Text"},
    {&VavIve_AsBMP, u"as &Bitmap"},
    {&VavIve_BMPFilter, u"Bitmaps (*.bmp)|*.bmp"},
    {&VavIve_AsEMF, u"as &Metafile"},
    {&VavIve_EMFFilter, u"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"},
    {&VavIve_ExportPanelNotSet, u"Panel property is not set in Export format"},
    {&VavIve_Normal, u"Normal"},
    {&VavIve_NoBorder, u"No Border"},
    {&VavIve_Dotted, u"Dotted"},
    {&VavIve_Colors, u"Colors"},
    {&VavIve_Filled, u"Filled"},
    {&VavIve_Marks, u"Marks"},
    {&VavIve_Stairs, u"Stairs"},
    {&VavIve_Points, u"Points"},
    {&VavIve_Height, u"Height"},
    {&VavIve_Hollow, u"Hollow"},
    {&VavIve_Point2D, u"Point 2D"},
    {&VavIve_Triangle, u"Triangle"},
    {&VavIve_Star, u"Star"},
    {&VavIve_Circle, u"Circle"},
    {&VavIve_DownTri, u"Down Tri."},
    {&VavIve_Cross, u"Cross"},
    {&VavIve_Diamond, u"Diamond"},
    {&VavIve_NoLines, u"No Lines"},
    {&VavIve_Stack100, u"Stack 100%"},
    {&VavIve_Pyramid, u"Pyramid"},
    {&VavIve_Ellipse, u"Ellipse"},
    {&VavIve_InvPyramid, u"Inv. Pyramid"},
    {&VavIve_Sides, u"Sides"},
    {&VavIve_SideAll, u"Side All"},
    {&VavIve_Patterns, u"Patterns"},
    {&VavIve_Exploded, u"Exploded"},
    {&VavIve_Shadow, u"Shadow"},
    {&VavIve_SemiPie, u"Semi Pie"},
    {&VavIve_Rectangle, u"Rectangle"},
    {&VavIve_VertLine, u"Vert.Line"},
    {&VavIve_HorizLine, u"Horiz.Line"},
    {&VavIve_Line, u"Line"},
    {&VavIve_Cube, u"Cube"},
    {&VavIve_DiagCross, u"Diag.Cross"},
    {&VavIve_CanNotFindTempPath, u"Can not find Temp folder"},
    {&VavIve_CanNotCreateTempChart, u"Can not create Temp file"},
    {&VavIve_CanNotEmailChart, u"Can not email VedIrure. Mapi Error: %d"},
    {&VavIve_SeriesDelete, u"Series Delete: ValueIndex %d out of bounds (0 to %d)."},
    {&VavIve_NoSeriesSelected, u"No Series selected"},
    {&VavIve_CannotLoadChartFromURL, u"Error code: %d downloading Chart from URL: %s"},
    {&VavIve_CannotLoadSeriesDataFromURL, u"Error code: %d downloading Series data from URL: %s"},
    {&VavIve_AsJPEG, u"as &JPEG"},
    {&VavIve_JPEGFilter, u"JPEG files (*.jpg)|*.jpg"},
    {&VavIve_AsGIF, u"as &GIF"},
    {&VavIve_GIFFilter, u"GIF files (*.gif)|*.gif"},
    {&VavIve_AsPNG, u"as &PNG"},
    {&VavIve_PNGFilter, u"PNG files (*.png)|*.png"},
    {&VavIve_AsPCX, u"as PC&X"},
    {&VavIve_PCXFilter, u"PCX files (*.pcx)|*.pcx"},
    {&VavIve_AsVML, u"as &VML (HTM)"},
    {&VavIve_VMLFilter, u"VML files (*.htm)|*.htm"},
    {&VavIve_AskLanguage, u"&Language..."},
    {&VavIve_TextFile, u"Text File"},
    {&VavIve_Gradient, u"Gradient"},
    {&VavIve_WantToSave, u"Do you want to save %s?"},
    {&VavIve_NativeFilter, u"VedIrure files"},
    {&VavIve_Property, u"Property"},
    {&VavIve_Value, u"Value"},
    {&VavIve_Yes, u"Yes"},
    {&VavIve_No, u"No"},
    {&VavIve_Image, u"(image)"},
    {&VavIve_FunctionCustom, u"y = f(x)"},
    {&VavIve_AsPDF, u"as &PDF"},
    {&VavIve_PDFFilter, u"PDF files (*.pdf)|*.pdf"},
    {&VavIve_AsPS, u"as PostScript"},
    {&VavIve_PSFilter, u"PostScript files (*.eps)|*.eps"},
    {&VavIve_GalleryHorizArea, u"Horizontal\rArea"},
    {&VavIve_SelfStack, u"Self Stacked"},
    {&VavIve_DarkPen, u"Dark Border"},
    {&VavIve_SelectFolder, u"Select a database folder"},
    {&VavIve_BDEAlias, u"&Alias:"},
    {&VavIve_ADOConnection, u"&Connection:"},
    {&VavIve_Apply, u"&Apply"},
    {&VavIve_AddNewGroup, u"Add new group"},
    {&VavIve_ChangeGroupName, u"Change group name"},
    {&VavIve_GroupName, u"Group name:"},
    {&VavIve_FunctionMedian, u"Median"},
    {&VavIve_FunctionMode, u"Mode"},
    {&VavIve_Options, u"Options"},
    {&VavIve_DepthTopAxis, u"Depth Top"},
    {&VavIve_View2D, u"2D"},
    {&VavIve_Outline, u"Outline"},
    {&VavIve_TextFilter1, u"Space delimited text files (*.txt)|*.txt"},
    {&VavIve_TextFilter2, u"Tab delimited text files (*.txt)|*.txt"},
    {&VavIve_TextFilter3, u"Comma delimited text files (*.csv)|*.csv"},
    {&VavIve_TextFilter4, u"Colon delimited text files (*.txt)|*.txt"},
    {&VavIve_TextFilter5, u"Custom delimited text files (*.txt)|*.txt"},
    {&VavIve_XMLFilter, u"XML files (*.xml)|*.xml"},
    {&VavIve_HTMLFilter, u"HTML files (*.htm)|*.htm"},
    {&VavIve_ExcelFilter, u"Microsoft Excel files (*.xls)|*.xls"},
    {&VavIve_ViewOrthoRight, u"Ortho Right"},
    {&VavIve_ViewOrthoLeft, u"Ortho Left"},
    {&VavIve_View3DFront, u"3D Front"},
    {&VavIve_View3DRight, u"3D Right"},
    {&VavIve_View3DLeft, u"3D Left"},
    {&VavIve_AsSVG, u"as &SVG"},
    {&VavIve_SVGFilter, u"SVG files (*.svg)|*.svg"},
    {&VavIve_SubTitle, u"SubTitle"},
    {&VavIve_SubFoot, u"SubFoot"},
    {&VavIve_FunctionSubset, u"Subset"},
    {&VavIve_Hexagon, u"Hexagon"},
    {&VavIve_AntiAlias, u"Antialias"},
    {&VavIve_Percent, u"Percent"},
    {&VavIve_Smooth, u"Smooth"},
    {&VavIve_Blur, u"Blur"},
    {&VavIve_Width, u"Width"},
    {&VavIve_Resize, u"Resize"},
    {&VavIve_Left, u"Left"},
    {&VavIve_Top, u"Top"},
    {&VavIve_Crop, u"Crop"},
    {&VavIve_Invert, u"Invert"},
    {&VavIve_GrayScale, u"Gray scale"},
    {&VavIve_Mosaic, u"Mosaic"},
    {&VavIve_Flip, u"Flip"},
    {&VavIve_Reverse, u"Reverse"},
    {&VavIve_Brightness, u"Brightness"},
    {&VavIve_Color, u"Color"},
    {&VavIve_HueLumSat, u"Hue,Lum,Sat"},
    {&VavIve_Sharpen, u"Sharpen"},
    {&VavIve_GammaCorrection, u"Gamma correction"},
    {&VavIve_Emboss, u"Emboss"},
    {&VavIve_Contrast, u"Contrast"},
    {&VavIve_Rotate, u"Rotate"},
    {&VavIve_Back, u"Back"},
    {&VavIve_Autosize, u"Autosize"},
    {&VavIve_Mirror, u"Mirror"},
    {&VavIve_Columns, u"Columns"},
    {&VavIve_Rows, u"Rows"},
    {&VavIve_Tile, u"Tile"},
    {&VavIve_Bevel, u"Bevel"},
    {&VavIve_Zoom, u"Zoom"},
    {&VavIve_ThemeDefault, u"Default"},
    {&VavIve_ThemeVedIrure, u"VedIrure"},
    {&VavIve_ThemeExcel, u"Excel"},
    {&VavIve_ThemeVictorian, u"Victorian"},
    {&VavIve_ThemePastels, u"Pastels"},
    {&VavIve_ThemeSolid, u"Solid"},
    {&VavIve_ThemeClassic, u"Classic"},
    {&VavIve_ThemeWeb, u"Web"},
    {&VavIve_ThemeModern, u"Modern"},
    {&VavIve_ThemeRainbow, u"Rainbow"},
    {&VavIve_ThemeWinXP, u"Win. XP"},
    {&VavIve_ThemeMacOS, u"Mac OS"},
    {&VavIve_ThemeWinVista, u"Win. Vista"},
    {&VavIve_ThemeGrayScale, u"Gray scale"},
    {&VavIve_ThemeOpera, u"Opera"},
    {&VavIve_ThemeWarm, u"Warm"},
    {&VavIve_ThemeCool, u"Cool"},
    {&VavIve_MenuFilters, u"Filters..."},
    {&VavIve_CrossTab, u"CrossTab"},
    {&VavIve_DBSumEditCaption, u"Database Source"},
    {&VavIve_AsFlex, u"as &Flex"},
    {&VavIve_FlexFilter, u"Flex files (*.swf)|*.swf"},
    {&VavIve_AsXAML, u"as &XAML"},
    {&VavIve_XAMLFilter, u"XAML files (*.xaml)|*.xaml"},
    {&VavIve_SelectTmpFolder, u"Select a temporary folder"},
    {&VavIve_PathAdobeFlexCompiler, u"Path of Flex compiler:"},
    {&ZuzPolarDegreeSymbol, u"°"},
    {&VavIve_NewChart, u"New Chart"},
    {&VavIve_RenameChart, u"Rename Chart"},
    {&VavIve_ChartName, u"Chart name:"},
    {&VavIve_SelectTextFile, u"Select text file"},
    {&VavIve_SaveTextFile, u"Save as text file"},
    {&VavIve_RecordVideo, u"Record Video"},
};

int gInitCount = 0;
} // namespace

std::span<const TZuzMessage> ZuzMessages() {
    return kMessages;
}

void ZuzSetConstants() {
    for (const TZuzMessage& m : kMessages)
        *m.Entry = m.AfterExtension ? m.Text + VavIve_ZuzExtension + m.AfterExtension : String(m.Text);
}

void ZuzConstInitialization() {
    if (gInitCount++ == 0) ZuzSetConstants();
}

void ZuzConstFinalization() {
    if (gInitCount == 0 || --gInitCount > 0) return;
    for (const TZuzMessage& m : kMessages) m.Entry->clear();
}
