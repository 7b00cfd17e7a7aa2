#include "chart/editors/zuzproco.h"

TObject* ZuzLanguage = nullptr;
TObject* ZuzEnglishLanguage = nullptr;
bool ZuzLanguageHotKeyAtEnd = false;
bool ZuzLanguageCanUpper = true;

namespace ZuzProCo {

String VavIve_GalleryPolar;
String VavIve_GalleryCandle;
String VavIve_GalleryVolume;
String VavIve_GallerySurface;
String VavIve_GalleryContour;
String VavIve_GalleryBezier;
String VavIve_GalleryPoint3D;
String VavIve_GalleryRadar;
String VavIve_GalleryDonut;
String VavIve_GalleryCursor;
String VavIve_GalleryBar3D;
String VavIve_GalleryBigCandle;
String VavIve_GalleryLinePoint;
String VavIve_GalleryHistogram;
String VavIve_GalleryWaterFall;
String VavIve_GalleryWindRose;
String VavIve_GalleryClock;
String VavIve_GalleryColorGrid;
String VavIve_GalleryBoxPlot;
String VavIve_GalleryHorizBoxPlot;
String VavIve_GalleryBarJoin;
String VavIve_GallerySmith;
String VavIve_GalleryPyramid;
String VavIve_GalleryMap;
String VavIve_GalleryVolumePipe;
String VavIve_PolyDegreeRange;
String VavIve_AnswerVectorIndex;
String VavIve_FittingError;
String VavIve_PeriodRange;
String VavIve_ExpAverageWeight;
String VavIve_GalleryErrorBar;
String VavIve_GalleryError;
String VavIve_GalleryHighLow;
String VavIve_FunctionMomentum;
String VavIve_FunctionMomentumDiv;
String VavIve_FunctionExpAverage;
String VavIve_FunctionMovingAverage;
String VavIve_FunctionExpMovAve;
String VavIve_FunctionRSI;
String VavIve_FunctionCurveFitting;
String VavIve_FunctionTrend;
String VavIve_FunctionExpTrend;
String VavIve_FunctionLogTrend;
String VavIve_FunctionCumulative;
String VavIve_FunctionStdDeviation;
String VavIve_FunctionBollinger;
String VavIve_FunctionRMS;
String VavIve_FunctionMACD;
String VavIve_FunctionStochastic;
String VavIve_FunctionADX;
String VavIve_FunctionCount;
String VavIve_LoadChart;
String VavIve_SaveChart;
String VavIve_ZuzFiles;
String VavIve_GallerySamples;
String VavIve_GalleryStats;
String VavIve_CannotFindEditor;
String VavIve_ValuesDate;
String VavIve_ValuesOpen;
String VavIve_ValuesHigh;
String VavIve_ValuesLow;
String VavIve_ValuesClose;
String VavIve_ValuesOffset;
String VavIve_ValuesStdError;
String VavIve_Grid3D;
String VavIve_LowBezierPoints;
String ZuzCommanMsg_Normal;
String ZuzCommanMsg_Edit;
String ZuzCommanMsg_Print;
String ZuzCommanMsg_Copy;
String ZuzCommanMsg_Save;
String ZuzCommanMsg_3D;
String ZuzCommanMsg_Rotating;
String ZuzCommanMsg_Rotate;
String ZuzCommanMsg_Moving;
String ZuzCommanMsg_Move;
String ZuzCommanMsg_Zooming;
String ZuzCommanMsg_Zoom;
String ZuzCommanMsg_Depthing;
String ZuzCommanMsg_Depth;
String ZuzCommanMsg_Chart;
String ZuzCommanMsg_Panel;
String ZuzCommanMsg_RotateLabel;
String ZuzCommanMsg_MoveLabel;
String ZuzCommanMsg_ZoomLabel;
String ZuzCommanMsg_DepthLabel;
String ZuzCommanMsg_NormalLabel;
String ZuzCommanMsg_NormalPieLabel;
String ZuzCommanMsg_PieExploding;
String VavIve_TriSurfaceLess;
String VavIve_TriSurfaceAllColinear;
String VavIve_TriSurfaceSimilar;
String VavIve_GalleryTriSurface;
String VavIve_AllSeries;
String VavIve_Edit;
String VavIve_GalleryFinancial;
String VavIve_CursorTool;
String VavIve_DragMarksTool;
String VavIve_AxisArrowTool;
String VavIve_DrawLineTool;
String VavIve_NearestTool;
String VavIve_ColorBandTool;
String VavIve_ColorLineTool;
String VavIve_RotateTool;
String VavIve_ImageTool;
String VavIve_MarksTipTool;
String VavIve_AnnotationTool;
String VavIve_CantDeleteAncestor;
String VavIve_Load;
String VavIve_CategoryChartActions;
String VavIve_CategorySeriesActions;
String VavIve_Action3D;
String VavIve_Action3DHint;
String VavIve_ActionSeriesActive;
String VavIve_ActionSeriesActiveHint;
String VavIve_ActionEditHint;
String VavIve_ActionEdit;
String VavIve_ActionCopyHint;
String VavIve_ActionCopy;
String VavIve_ActionPrintHint;
String VavIve_ActionPrint;
String VavIve_ActionAxesHint;
String VavIve_ActionAxes;
String VavIve_ActionGridsHint;
String VavIve_ActionGrids;
String VavIve_ActionLegendHint;
String VavIve_ActionLegend;
String VavIve_ActionSeriesEditHint;
String VavIve_ActionSeriesMarksHint;
String VavIve_ActionSeriesMarks;
String VavIve_ActionSaveHint;
String VavIve_ActionSave;
String VavIve_CandleBar;
String VavIve_CandleNoOpen;
String VavIve_CandleNoClose;
String VavIve_NoHigh;
String VavIve_NoLow;
String VavIve_ColorRange;
String VavIve_WireFrame;
String VavIve_DotFrame;
String VavIve_Positions;
String VavIve_NoGrid;
String VavIve_NoPoint;
String VavIve_NoLine;
String VavIve_Labels;
String VavIve_NoCircle;
String VavIve_Lines;
String VavIve_Border;
String VavIve_SmithResistance;
String VavIve_SmithReactance;
String VavIve_Column;
String VavIve_Separator;
String VavIve_FunnelSegment;
String VavIve_FunnelSeries;
String VavIve_FunnelPercent;
String VavIve_FunnelExceed;
String VavIve_FunnelWithin;
String VavIve_FunnelBelow;
String VavIve_CalendarSeries;
String VavIve_DeltaPointSeries;
String VavIve_ImagePointSeries;
String VavIve_ImageBarSeries;
String VavIve_SeriesTextFieldZero;
String VavIve_Origin;
String VavIve_Transparency;
String VavIve_Box;
String VavIve_ExtrOut;
String VavIve_MildOut;
String VavIve_PageNumber;
String VavIve_DragPoint;
String VavIve_OpportunityValues;
String VavIve_QuoteValues;
String VavIve_FunctionSmooth;
String VavIve_FunctionCross;
String VavIve_GridTranspose;
String VavIve_FunctionCompress;
String VavIve_ExtraLegendTool;
String VavIve_FunctionCLV;
String VavIve_FunctionOBV;
String VavIve_FunctionCCI;
String VavIve_FunctionPVO;
String VavIve_SeriesAnimTool;
String VavIve_GalleryPointFigure;
String VavIve_Up;
String VavIve_Down;
String VavIve_GanttTool;
String VavIve_XMLFile;
String VavIve_GridBandTool;
String VavIve_FunctionPerf;
String VavIve_GalleryGauge;
String VavIve_GalleryGauges;
String VavIve_ValuesVectorEndZ;
String VavIve_GalleryVector3D;
String VavIve_Gallery3D;
String VavIve_GalleryTower;
String VavIve_SingleColor;
String VavIve_Cover;
String VavIve_Cone;
String VavIve_PieTool;
String VavIve_Stop;
String VavIve_Execute;
String VavIve_Themes;
String VavIve_LightTool;
String VavIve_Current;
String VavIve_FunctionCorrelation;
String VavIve_FunctionVariance;
String VavIve_GalleryBubble3D;
String VavIve_GalleryHorizHistogram;
String VavIve_FunctionPerimeter;
String VavIve_SurfaceNearestTool;
String VavIve_AxisScrollTool;
String VavIve_RectangleTool;
String VavIve_GalleryPolarBar;
String VavIve_AsWapBitmap;
String VavIve_WapBMPFilter;
String VavIve_ClipSeries;
String VavIve_SeriesBandTool;
String VavIve_ThemeFacts;
String VavIve_FunctionDownSampling;
String VavIve_SelectorTool;
String VavIve_LegendScrollBar;
String VavIve_DataTableTool;
String VavIve_IsoSurfaceSeries;
String VavIve_UpToValue;
String VavIve_NoCompression;
String VavIve_GalleryDarvas;
String VavIve_VideoTool;
String VavIve_VideoToolDesc;
String VavIve_VideoPlayerTool;
String VavIve_VideoPlayerToolDesc;
String VavIve_CursorToolDesc;
String VavIve_DragMarksDesc;
String VavIve_DragPointDesc;
String VavIve_DrawLineDesc;
String VavIve_ExtraLegendDesc;
String VavIve_GanttToolDesc;
String VavIve_MarksTipDesc;
String VavIve_NearestToolDesc;
String VavIve_PieToolDesc;
String VavIve_SeriesAnimationDesc;
String VavIve_AxisArrowDesc;
String VavIve_ColorBandDesc;
String VavIve_ColorLineDesc;
String VavIve_GridBandDesc;
String VavIve_GridTransposeDesc;
String VavIve_AnnotationDesc;
String VavIve_RectangleToolDesc;
String VavIve_RotateDesc;
String VavIve_ImageToolDesc;
String VavIve_LightToolDesc;
String VavIve_SurfaceNearestDesc;
String VavIve_AxisScrollDesc;
String VavIve_LegendScrollBarDesc;
String VavIve_ClipSeriesDesc;
String VavIve_SelectorDesc;
String VavIve_StatsToolDesc;
String VavIve_PageNumberDesc;
String VavIve_TransposeSeries;
String VavIve_TransposeSeriesDesc;
String VavIve_GridTranspDesc;
String VavIve_LegendScrollDesc;
String VavIve_DataTableDesc;
String VavIve_SeriesBandDesc;
String VavIve_ThemeRandom;
String VavIve_Play;
String VavIve_GalleryHighLowLine;
String VavIve_Mirrored;
String VavIve_PolarGridSeries;
String VavIve_FullScreen;
String VavIve_FullScreenDesc;
String VavIve_MagnifyTool;
String VavIve_MagnifyToolDesc;
String VavIve_Fader;
String VavIve_FaderDesc;
String VavIve_SubChartTool;
String VavIve_SubChartDesc;
String VavIve_AntiAlias;
String VavIve_AntiAliasDesc;
String VavIve_SeriesRegion;
String VavIve_SeriesRegionDesc;
String VavIve_Text3D;
String VavIve_Text3DDesc;
String VavIve_BannerTool;
String VavIve_BannerToolDesc;
String VavIve_MenuNew;
String VavIve_MenuDelete;
String VavIve_MenuRename;
String VavIve_MenuEdit;
String VavIve_MenuViewToolbar;
String VavIve_RenamePage;
String VavIve_NewName;
String VavIve_FrameTool;
String VavIve_FrameToolDesc;
String VavIve_HistogramFunction;
String VavIve_ExcelEmptyFile;
String VavIve_ExcelFile;
String VavIve_ExcelSheetEmpty;
String VavIve_ExcelRangeMissing;
String VavIve_DBSumEditCaption;
String VavIve_LegendPalette;
String VavIve_LegendPaletteDesc;
String VavIve_Statistics;
String VavIve_ZuzScrollBar;
String VavIve_GalleryOrgSeries;
String VavIve_GalleryWorld;
String VavIve_GalleryAfrica;
String VavIve_GalleryAsia;
String VavIve_GalleryAustralia;
String VavIve_GalleryCentralAmerica;
String VavIve_GalleryEurope;
String VavIve_GalleryEurope15;
String VavIve_GalleryEurope27;
String VavIve_GallerySpain;
String VavIve_GalleryMiddleEast;
String VavIve_GalleryNorthAmerica;
String VavIve_GallerySouthAmerica;
String VavIve_GalleryUSA;
String VavIve_GalleryUSAHawaiiAlaska;
String VavIve_GalleryMaps;
String VavIve_GalleryTagCloud;
String VavIve_GalleryRenko;
String VavIve_GalleryKagi;
String VavIve_NumericGauge;
String VavIve_CircularGauge;
String VavIve_LEDGauge;
String VavIve_LinearGauge;
String VavIve_LinkTool;
String VavIve_LinkToolDesc;
String VavIve_Fibonacci;
String VavIve_FibonacciDesc;
String VavIve_LinearGaugeVertical;
String VavIve_AVIFile;
String VavIve_SelectAVIFile;
String VavIve_MPEGFile;

} // namespace ZuzProCo

namespace {

// A "\r" inside a text breaks a gallery name over two lines.
const TZuzMessage kTexts[] = {
    {&ZuzProCo::VavIve_GalleryPolar, u"Polar"},
    {&ZuzProCo::VavIve_GalleryCandle, u"Candle"},
    {&ZuzProCo::VavIve_GalleryVolume, u"Volume"},
    {&ZuzProCo::VavIve_GallerySurface, u"Surface"},
    {&ZuzProCo::VavIve_GalleryContour, u"Contour"},
    {&ZuzProCo::VavIve_GalleryBezier, u"Bezier"},
    {&ZuzProCo::VavIve_GalleryPoint3D, u"Point 3D"},
    {&ZuzProCo::VavIve_GalleryRadar, u"Radar"},
    {&ZuzProCo::VavIve_GalleryDonut, u"Donut"},
    {&ZuzProCo::VavIve_GalleryCursor, u"Cursor"},
    {&ZuzProCo::VavIve_GalleryBar3D, u"Bar 3D"},
    {&ZuzProCo::VavIve_GalleryBigCandle, u"Big Candle"},
    {&ZuzProCo::VavIve_GalleryLinePoint, u"Line Point"},
    {&ZuzProCo::VavIve_GalleryHistogram, u"Histogram"},
    {&ZuzProCo::VavIve_GalleryWaterFall, u"Water Fall"},
    {&ZuzProCo::VavIve_GalleryWindRose, u"Wind Rose"},
    {&ZuzProCo::VavIve_GalleryClock, u"Clock"},
    {&ZuzProCo::VavIve_GalleryColorGrid, u"Color Grid"},
    {&ZuzProCo::VavIve_GalleryBoxPlot, u"Box Plot"},
    {&ZuzProCo::VavIve_GalleryHorizBoxPlot, u"Horizontal\rBoxPlot"},
    {&ZuzProCo::VavIve_GalleryBarJoin, u"Bar Join"},
    {&ZuzProCo::VavIve_GallerySmith, u"Smith"},
    {&ZuzProCo::VavIve_GalleryPyramid, u"Pyramid"},
    {&ZuzProCo::VavIve_GalleryMap, u"Map"},
    {&ZuzProCo::VavIve_GalleryVolumePipe, u"Volume Pipe"},
    {&ZuzProCo::VavIve_PolyDegreeRange, u"Polynomial degree must be between 1 and 20"},
    {&ZuzProCo::VavIve_AnswerVectorIndex, u"Answer Vector index must be between 1 and %d"},
    {&ZuzProCo::VavIve_FittingError, u"Cannot process fitting"},
    {&ZuzProCo::VavIve_PeriodRange, u"Period must be >= 0"},
    {&ZuzProCo::VavIve_ExpAverageWeight, u"ExpAverage Weight must be between 0 and 1"},
    {&ZuzProCo::VavIve_GalleryErrorBar, u"Error Bar"},
    {&ZuzProCo::VavIve_GalleryError, u"Error"},
    {&ZuzProCo::VavIve_GalleryHighLow, u"High-Low"},
    {&ZuzProCo::VavIve_FunctionMomentum, u"Momentum"},
    {&ZuzProCo::VavIve_FunctionMomentumDiv, u"Momentum\rDivision"},
    {&ZuzProCo::VavIve_FunctionExpAverage, u"Exponential\rAverage"},
    {&ZuzProCo::VavIve_FunctionMovingAverage, u"Moving\rAverage"},
    {&ZuzProCo::VavIve_FunctionExpMovAve, u"Exp.Moving\rAverage"},
    {&ZuzProCo::VavIve_FunctionRSI, u"R.S.I."},
    {&ZuzProCo::VavIve_FunctionCurveFitting, u"Curve Fitting"},
    {&ZuzProCo::VavIve_FunctionTrend, u"Trend"},
    {&ZuzProCo::VavIve_FunctionExpTrend, u"Exponential\rTrend"},
    {&ZuzProCo::VavIve_FunctionLogTrend, u"Logarithmic\rTrend"},
    {&ZuzProCo::VavIve_FunctionCumulative, u"Cumulative"},
    {&ZuzProCo::VavIve_FunctionStdDeviation, u"Standard\rDeviation"},
    {&ZuzProCo::VavIve_FunctionBollinger, u"Bollinger\rbands"},
    {&ZuzProCo::VavIve_FunctionRMS, u"Root Mean\rSquare"},
    {&ZuzProCo::VavIve_FunctionMACD, u"MACD"},
    {&ZuzProCo::VavIve_FunctionStochastic, u"Stochastic"},
    {&ZuzProCo::VavIve_FunctionADX, u"ADX"},
    {&ZuzProCo::VavIve_FunctionCount, u"Count"},
    {&ZuzProCo::VavIve_LoadChart, u"Open Chart..."},
    {&ZuzProCo::VavIve_SaveChart, u"Save Chart..."},
    {&ZuzProCo::VavIve_ZuzFiles, u"Chart Files"},
    {&ZuzProCo::VavIve_GallerySamples, u"Samples"},
    {&ZuzProCo::VavIve_GalleryStats, u"Stats"},
    {&ZuzProCo::VavIve_CannotFindEditor, u"Cannot find Series editor Form: %s"},
    {&ZuzProCo::VavIve_ValuesDate, u"Date"},
    {&ZuzProCo::VavIve_ValuesOpen, u"Open"},
    {&ZuzProCo::VavIve_ValuesHigh, u"High"},
    {&ZuzProCo::VavIve_ValuesLow, u"Low"},
    {&ZuzProCo::VavIve_ValuesClose, u"Close"},
    {&ZuzProCo::VavIve_ValuesOffset, u"Offset"},
    {&ZuzProCo::VavIve_ValuesStdError, u"StdError"},
    {&ZuzProCo::VavIve_Grid3D, u"Grid 3D"},
    {&ZuzProCo::VavIve_LowBezierPoints, u"Number of Bezier points should be > 1"},
    {&ZuzProCo::ZuzCommanMsg_Normal, u"Normal"},
    {&ZuzProCo::ZuzCommanMsg_Edit, u"Edit"},
    {&ZuzProCo::ZuzCommanMsg_Print, u"Print"},
    {&ZuzProCo::ZuzCommanMsg_Copy, u"Copy"},
    {&ZuzProCo::ZuzCommanMsg_Save, u"Save"},
    {&ZuzProCo::ZuzCommanMsg_3D, u"3D"},
    {&ZuzProCo::ZuzCommanMsg_Rotating, u"Rotation: %d° Elevation: %d°"},
    {&ZuzProCo::ZuzCommanMsg_Rotate, u"Rotate"},
    {&ZuzProCo::ZuzCommanMsg_Moving, u"Horiz.Offset: %d Vert.Offset: %d"},
    {&ZuzProCo::ZuzCommanMsg_Move, u"Move"},
    {&ZuzProCo::ZuzCommanMsg_Zooming, u"Zoom: %d %%"},
    {&ZuzProCo::ZuzCommanMsg_Zoom, u"Zoom"},
    {&ZuzProCo::ZuzCommanMsg_Depthing, u"3D: %d %%"},
    {&ZuzProCo::ZuzCommanMsg_Depth, u"Depth"},
    {&ZuzProCo::ZuzCommanMsg_Chart, u"Chart"},
    {&ZuzProCo::ZuzCommanMsg_Panel, u"Panel"},
    {&ZuzProCo::ZuzCommanMsg_RotateLabel, u"Drag %s to Rotate"},
    {&ZuzProCo::ZuzCommanMsg_MoveLabel, u"Drag %s to Move"},
    {&ZuzProCo::ZuzCommanMsg_ZoomLabel, u"Drag %s to Zoom"},
    {&ZuzProCo::ZuzCommanMsg_DepthLabel, u"Drag %s to resize 3D"},
    {&ZuzProCo::ZuzCommanMsg_NormalLabel, u"Drag Left button to Zoom, Right button to Scroll"},
    {&ZuzProCo::ZuzCommanMsg_NormalPieLabel, u"Drag a Pie Slice to Explode it"},
    {&ZuzProCo::ZuzCommanMsg_PieExploding, u"Slice: %d Exploded: %d %%"},
    {&ZuzProCo::VavIve_TriSurfaceLess, u"Number of points must be >= 4"},
    {&ZuzProCo::VavIve_TriSurfaceAllColinear, u"All colinear data points"},
    {&ZuzProCo::VavIve_TriSurfaceSimilar, u"Similar XYZ points. Cannot calculate triangles."},
    {&ZuzProCo::VavIve_GalleryTriSurface, u"Triangle Surface"},
    {&ZuzProCo::VavIve_AllSeries, u"All Series"},
    {&ZuzProCo::VavIve_Edit, u"Edit"},
    {&ZuzProCo::VavIve_GalleryFinancial, u"Financial"},
    {&ZuzProCo::VavIve_CursorTool, u"Cursor"},
    {&ZuzProCo::VavIve_DragMarksTool, u"Drag Marks"},
    {&ZuzProCo::VavIve_AxisArrowTool, u"Axis Arrow"},
    {&ZuzProCo::VavIve_DrawLineTool, u"Draw Line"},
    {&ZuzProCo::VavIve_NearestTool, u"Nearest"},
    {&ZuzProCo::VavIve_ColorBandTool, u"Color Band"},
    {&ZuzProCo::VavIve_ColorLineTool, u"Color Line"},
    {&ZuzProCo::VavIve_RotateTool, u"Rotate"},
    {&ZuzProCo::VavIve_ImageTool, u"Image"},
    {&ZuzProCo::VavIve_MarksTipTool, u"Marks Tip"},
    {&ZuzProCo::VavIve_AnnotationTool, u"Annotation"},
    {&ZuzProCo::VavIve_CantDeleteAncestor, u"Can not delete ancestor"},
    {&ZuzProCo::VavIve_Load, u"Load..."},
    {&ZuzProCo::VavIve_CategoryChartActions, u"Chart"},
    {&ZuzProCo::VavIve_CategorySeriesActions, u"Chart Series"},
    {&ZuzProCo::VavIve_Action3D, u"&3D"},
    {&ZuzProCo::VavIve_Action3DHint, u"Switch 2D / 3D"},
    {&ZuzProCo::VavIve_ActionSeriesActive, u"&Active"},
    {&ZuzProCo::VavIve_ActionSeriesActiveHint, u"Show / Hide Series"},
    {&ZuzProCo::VavIve_ActionEditHint, u"Edit Chart"},
    {&ZuzProCo::VavIve_ActionEdit, u"&Edit..."},
    {&ZuzProCo::VavIve_ActionCopyHint, u"Copy to Clipboard"},
    {&ZuzProCo::VavIve_ActionCopy, u"&Copy"},
    {&ZuzProCo::VavIve_ActionPrintHint, u"Print preview Chart"},
    {&ZuzProCo::VavIve_ActionPrint, u"&Print..."},
    {&ZuzProCo::VavIve_ActionAxesHint, u"Show / Hide Axes"},
    {&ZuzProCo::VavIve_ActionAxes, u"&Axes"},
    {&ZuzProCo::VavIve_ActionGridsHint, u"Show / Hide Grids"},
    {&ZuzProCo::VavIve_ActionGrids, u"&Grids"},
    {&ZuzProCo::VavIve_ActionLegendHint, u"Show / Hide Legend"},
    {&ZuzProCo::VavIve_ActionLegend, u"&Legend"},
    {&ZuzProCo::VavIve_ActionSeriesEditHint, u"Edit Series"},
    {&ZuzProCo::VavIve_ActionSeriesMarksHint, u"Show / Hide Series Marks"},
    {&ZuzProCo::VavIve_ActionSeriesMarks, u"&Marks"},
    {&ZuzProCo::VavIve_ActionSaveHint, u"Save Chart"},
    {&ZuzProCo::VavIve_ActionSave, u"&Save..."},
    {&ZuzProCo::VavIve_CandleBar, u"Candle Bar"},
    {&ZuzProCo::VavIve_CandleNoOpen, u"No Open"},
    {&ZuzProCo::VavIve_CandleNoClose, u"No Close"},
    {&ZuzProCo::VavIve_NoHigh, u"No High"},
    {&ZuzProCo::VavIve_NoLow, u"No Low"},
    {&ZuzProCo::VavIve_ColorRange, u"Color Range"},
    {&ZuzProCo::VavIve_WireFrame, u"Wire Frame"},
    {&ZuzProCo::VavIve_DotFrame, u"Dot Frame"},
    {&ZuzProCo::VavIve_Positions, u"Positions"},
    {&ZuzProCo::VavIve_NoGrid, u"No Grid"},
    {&ZuzProCo::VavIve_NoPoint, u"No Point"},
    {&ZuzProCo::VavIve_NoLine, u"No Line"},
    {&ZuzProCo::VavIve_Labels, u"Labels"},
    {&ZuzProCo::VavIve_NoCircle, u"No Circle"},
    {&ZuzProCo::VavIve_Lines, u"Lines"},
    {&ZuzProCo::VavIve_Border, u"Border"},
    {&ZuzProCo::VavIve_SmithResistance, u"Resistance"},
    {&ZuzProCo::VavIve_SmithReactance, u"Reactance"},
    {&ZuzProCo::VavIve_Column, u"Column"},
    {&ZuzProCo::VavIve_Separator, u"Separator"},
    {&ZuzProCo::VavIve_FunnelSegment, u"Funnel Segment"},
    {&ZuzProCo::VavIve_FunnelSeries, u"Funnel Series"},
    {&ZuzProCo::VavIve_FunnelPercent, u"0.00 %"},
    {&ZuzProCo::VavIve_FunnelExceed, u"Funnel Exceed"},
    {&ZuzProCo::VavIve_FunnelWithin, u"Funnel Within"},
    {&ZuzProCo::VavIve_FunnelBelow, u"Funnel Below"},
    {&ZuzProCo::VavIve_CalendarSeries, u"Calendar Series"},
    {&ZuzProCo::VavIve_DeltaPointSeries, u"Delta Point Series"},
    {&ZuzProCo::VavIve_ImagePointSeries, u"Image Point Series"},
    {&ZuzProCo::VavIve_ImageBarSeries, u"Image Bar Series"},
    {&ZuzProCo::VavIve_SeriesTextFieldZero, u"Series Text: Field index should be greater than zero."},
    {&ZuzProCo::VavIve_Origin, u"Origin"},
    {&ZuzProCo::VavIve_Transparency, u"Transparency"},
    {&ZuzProCo::VavIve_Box, u"Box"},
    {&ZuzProCo::VavIve_ExtrOut, u"Extreme Outliers"},
    {&ZuzProCo::VavIve_MildOut, u"Mild Outliers"},
    {&ZuzProCo::VavIve_PageNumber, u"Page Number"},
    {&ZuzProCo::VavIve_DragPoint, u"Drag Point"},
    {&ZuzProCo::VavIve_OpportunityValues, u"Opportunity Values"},
    {&ZuzProCo::VavIve_QuoteValues, u"Quote Values"},
    {&ZuzProCo::VavIve_FunctionSmooth, u"Smooth"},
    {&ZuzProCo::VavIve_FunctionCross, u"Cross"},
    {&ZuzProCo::VavIve_GridTranspose, u"Grid 3D Transpose"},
    {&ZuzProCo::VavIve_FunctionCompress, u"Compress"},
    {&ZuzProCo::VavIve_ExtraLegendTool, u"Extra Legend"},
    {&ZuzProCo::VavIve_FunctionCLV, u"Close Location\rValue"},
    {&ZuzProCo::VavIve_FunctionOBV, u"On Balance\rVolume"},
    {&ZuzProCo::VavIve_FunctionCCI, u"Commodity\rChannel Index"},
    {&ZuzProCo::VavIve_FunctionPVO, u"Volume\rOscillator"},
    {&ZuzProCo::VavIve_SeriesAnimTool, u"Series Anim"},
    {&ZuzProCo::VavIve_GalleryPointFigure, u"Point and Figure"},
    {&ZuzProCo::VavIve_Up, u"Up"},
    {&ZuzProCo::VavIve_Down, u"Down"},
    {&ZuzProCo::VavIve_GanttTool, u"Gantt"},
    {&ZuzProCo::VavIve_XMLFile, u"XML file"},
    {&ZuzProCo::VavIve_GridBandTool, u"Grid Band"},
    {&ZuzProCo::VavIve_FunctionPerf, u"Performance"},
    {&ZuzProCo::VavIve_GalleryGauge, u"Gauge"},
    {&ZuzProCo::VavIve_GalleryGauges, u"Gauges"},
    {&ZuzProCo::VavIve_ValuesVectorEndZ, u"EndZ"},
    {&ZuzProCo::VavIve_GalleryVector3D, u"Vector 3D"},
    {&ZuzProCo::VavIve_Gallery3D, u"3D"},
    {&ZuzProCo::VavIve_GalleryTower, u"Tower"},
    {&ZuzProCo::VavIve_SingleColor, u"Single Color"},
    {&ZuzProCo::VavIve_Cover, u"Cover"},
    {&ZuzProCo::VavIve_Cone, u"Cone"},
    {&ZuzProCo::VavIve_PieTool, u"Pie"},
    {&ZuzProCo::VavIve_Stop, u"Stop"},
    {&ZuzProCo::VavIve_Execute, u"Execute"},
    {&ZuzProCo::VavIve_Themes, u"Themes"},
    {&ZuzProCo::VavIve_LightTool, u"Light"},
    {&ZuzProCo::VavIve_Current, u"Current"},
    {&ZuzProCo::VavIve_FunctionCorrelation, u"Correlation"},
    {&ZuzProCo::VavIve_FunctionVariance, u"Variance"},
    {&ZuzProCo::VavIve_GalleryBubble3D, u"Bubble 3D"},
    {&ZuzProCo::VavIve_GalleryHorizHistogram, u"Horizontal\rHistogram"},
    {&ZuzProCo::VavIve_FunctionPerimeter, u"Perimeter"},
    {&ZuzProCo::VavIve_SurfaceNearestTool, u"Surface Nearest"},
    {&ZuzProCo::VavIve_AxisScrollTool, u"Axis Scroll"},
    {&ZuzProCo::VavIve_RectangleTool, u"Rectangle"},
    {&ZuzProCo::VavIve_GalleryPolarBar, u"Polar Bar"},
    {&ZuzProCo::VavIve_AsWapBitmap, u"as &WAP Bitmap"},
    {&ZuzProCo::VavIve_WapBMPFilter, u"WAP Bitmap files (*.wbmp)|*.wbmp"},
    {&ZuzProCo::VavIve_ClipSeries, u"Clip Series"},
    {&ZuzProCo::VavIve_SeriesBandTool, u"Series Band"},
    {&ZuzProCo::VavIve_ThemeFacts, u"Facts"},
    {&ZuzProCo::VavIve_FunctionDownSampling, u"Down Sampling"},
    {&ZuzProCo::VavIve_SelectorTool, u"Selector"},
    {&ZuzProCo::VavIve_LegendScrollBar, u"Legend Scroll Bar"},
    {&ZuzProCo::VavIve_DataTableTool, u"Data Table"},
    {&ZuzProCo::VavIve_IsoSurfaceSeries, u"Iso Surface"},
    {&ZuzProCo::VavIve_UpToValue, u"Up to value"},
    {&ZuzProCo::VavIve_NoCompression, u"No Compression"},
    {&ZuzProCo::VavIve_GalleryDarvas, u"Darvas"},
    {&ZuzProCo::VavIve_VideoTool, u"Video"},
    {&ZuzProCo::VavIve_VideoToolDesc, u"Video tool"},
    {&ZuzProCo::VavIve_VideoPlayerTool, u"Video Player"},
    {&ZuzProCo::VavIve_VideoPlayerToolDesc, u"Video Player tool"},
    {&ZuzProCo::VavIve_CursorToolDesc, u"Cursor tool"},
    {&ZuzProCo::VavIve_DragMarksDesc, u"Drag Marks tool"},
    {&ZuzProCo::VavIve_DragPointDesc, u"Drag Point tool"},
    {&ZuzProCo::VavIve_DrawLineDesc, u"Draw Line tool"},
    {&ZuzProCo::VavIve_ExtraLegendDesc, u"Extra Legend tool"},
    {&ZuzProCo::VavIve_GanttToolDesc, u"Gantt tool"},
    {&ZuzProCo::VavIve_MarksTipDesc, u"Marks Tip tool"},
    {&ZuzProCo::VavIve_NearestToolDesc, u"Nearest tool"},
    {&ZuzProCo::VavIve_PieToolDesc, u"Pie tool"},
    {&ZuzProCo::VavIve_SeriesAnimationDesc, u"Series Animation tool"},
    {&ZuzProCo::VavIve_AxisArrowDesc, u"Axis Arrow tool"},
    {&ZuzProCo::VavIve_ColorBandDesc, u"Color Band tool"},
    {&ZuzProCo::VavIve_ColorLineDesc, u"Color Line tool"},
    {&ZuzProCo::VavIve_GridBandDesc, u"Grid Band tool"},
    {&ZuzProCo::VavIve_GridTransposeDesc, u"Grid Transpose tool"},
    {&ZuzProCo::VavIve_AnnotationDesc, u"Annotation tool"},
    {&ZuzProCo::VavIve_RectangleToolDesc, u"Rectangle tool"},
    {&ZuzProCo::VavIve_RotateDesc, u"Rotate tool"},
    {&ZuzProCo::VavIve_ImageToolDesc, u"Image tool"},
    {&ZuzProCo::VavIve_LightToolDesc, u"Light tool"},
    {&ZuzProCo::VavIve_SurfaceNearestDesc, u"Surface Nearest tool"},
    {&ZuzProCo::VavIve_AxisScrollDesc, u"Axis Scroll tool"},
    {&ZuzProCo::VavIve_LegendScrollBarDesc, u"Legend Scroll Bar tool"},
    {&ZuzProCo::VavIve_ClipSeriesDesc, u"Clip Series tool"},
    {&ZuzProCo::VavIve_SelectorDesc, u"Selector tool"},
    {&ZuzProCo::VavIve_StatsToolDesc, u"Stats tool"},
    {&ZuzProCo::VavIve_PageNumberDesc, u"Page Number tool"},
    {&ZuzProCo::VavIve_TransposeSeries, u"Transpose Series"},
    {&ZuzProCo::VavIve_TransposeSeriesDesc, u"Transpose Series tool"},
    {&ZuzProCo::VavIve_GridTranspDesc, u"Grid Transp tool"},
    {&ZuzProCo::VavIve_LegendScrollDesc, u"Legend Scroll tool"},
    {&ZuzProCo::VavIve_DataTableDesc, u"Data Table tool"},
    {&ZuzProCo::VavIve_SeriesBandDesc, u"Series Band tool"},
    {&ZuzProCo::VavIve_ThemeRandom, u"Random"},
    {&ZuzProCo::VavIve_Play, u"Play"},
    {&ZuzProCo::VavIve_GalleryHighLowLine, u"High-Low Line"},
    {&ZuzProCo::VavIve_Mirrored, u"Mirrored"},
    {&ZuzProCo::VavIve_PolarGridSeries, u"Polar Grid"},
    {&ZuzProCo::VavIve_FullScreen, u"Full Screen"},
    {&ZuzProCo::VavIve_FullScreenDesc, u"Full Screen tool"},
    {&ZuzProCo::VavIve_MagnifyTool, u"Magnify"},
    {&ZuzProCo::VavIve_MagnifyToolDesc, u"Magnify tool"},
    {&ZuzProCo::VavIve_Fader, u"Fader"},
    {&ZuzProCo::VavIve_FaderDesc, u"Fader tool"},
    {&ZuzProCo::VavIve_SubChartTool, u"SubChart"},
    {&ZuzProCo::VavIve_SubChartDesc, u"Sub Chart tool"},
    {&ZuzProCo::VavIve_AntiAlias, u"Anti-Alias"},
    {&ZuzProCo::VavIve_AntiAliasDesc, u"Anti Alias tool"},
    {&ZuzProCo::VavIve_SeriesRegion, u"Series Region"},
    {&ZuzProCo::VavIve_SeriesRegionDesc, u"Series Region tool"},
    {&ZuzProCo::VavIve_Text3D, u"Text 3D"},
    {&ZuzProCo::VavIve_Text3DDesc, u"Text3 D tool"},
    {&ZuzProCo::VavIve_BannerTool, u"Banner"},
    {&ZuzProCo::VavIve_BannerToolDesc, u"Banner tool"},
    {&ZuzProCo::VavIve_MenuNew, u"&New"},
    {&ZuzProCo::VavIve_MenuDelete, u"&Delete"},
    {&ZuzProCo::VavIve_MenuRename, u"&Rename..."},
    {&ZuzProCo::VavIve_MenuEdit, u"&Edit..."},
    {&ZuzProCo::VavIve_MenuViewToolbar, u"View &Toolbar"},
    {&ZuzProCo::VavIve_RenamePage, u"Rename page"},
    {&ZuzProCo::VavIve_NewName, u"New name:"},
    {&ZuzProCo::VavIve_FrameTool, u"Frame"},
    {&ZuzProCo::VavIve_FrameToolDesc, u"Frame tool"},
    {&ZuzProCo::VavIve_HistogramFunction, u"Histogram"},
    {&ZuzProCo::VavIve_ExcelEmptyFile, u"Excel file must be specified"},
    {&ZuzProCo::VavIve_ExcelFile, u"Excel file"},
    {&ZuzProCo::VavIve_ExcelSheetEmpty, u"Excel WorkSheet must be specified"},
    {&ZuzProCo::VavIve_ExcelRangeMissing, u"Range must be specified. (ie: From A1 to A10)"},
    {&ZuzProCo::VavIve_DBSumEditCaption, u"Database Source"},
    {&ZuzProCo::VavIve_LegendPalette, u"Legend Palette"},
    {&ZuzProCo::VavIve_LegendPaletteDesc, u"Legend Palette tool"},
    {&ZuzProCo::VavIve_Statistics, u"Statistics"},
    {&ZuzProCo::VavIve_ZuzScrollBar, u"Scroll Bar"},
    {&ZuzProCo::VavIve_GalleryOrgSeries, u"Organizational"},
    {&ZuzProCo::VavIve_GalleryWorld, u"World"},
    {&ZuzProCo::VavIve_GalleryAfrica, u"Africa"},
    {&ZuzProCo::VavIve_GalleryAsia, u"Asia"},
    {&ZuzProCo::VavIve_GalleryAustralia, u"Australia"},
    {&ZuzProCo::VavIve_GalleryCentralAmerica, u"Central America"},
    {&ZuzProCo::VavIve_GalleryEurope, u"Europe"},
    {&ZuzProCo::VavIve_GalleryEurope15, u"Europe 15"},
    {&ZuzProCo::VavIve_GalleryEurope27, u"Europe 27"},
    {&ZuzProCo::VavIve_GallerySpain, u"Spain"},
    {&ZuzProCo::VavIve_GalleryMiddleEast, u"Middle East"},
    {&ZuzProCo::VavIve_GalleryNorthAmerica, u"North America"},
    {&ZuzProCo::VavIve_GallerySouthAmerica, u"South America"},
    {&ZuzProCo::VavIve_GalleryUSA, u"USA"},
    {&ZuzProCo::VavIve_GalleryUSAHawaiiAlaska, u"USA with Hawaii and Alaska"},
    {&ZuzProCo::VavIve_GalleryMaps, u"Maps"},
    {&ZuzProCo::VavIve_GalleryTagCloud, u"Tag Cloud"},
    {&ZuzProCo::VavIve_GalleryRenko, u"Renko"},
    {&ZuzProCo::VavIve_GalleryKagi, u"Kagi"},
    {&ZuzProCo::VavIve_NumericGauge, u"Numeric\rGauge"},
    {&ZuzProCo::VavIve_CircularGauge, u"Circular\rGauge"},
    {&ZuzProCo::VavIve_LEDGauge, u"LED Gauge"},
    {&ZuzProCo::VavIve_LinearGauge, u"Linear\rGauge"},
    {&ZuzProCo::VavIve_LinkTool, u"Link"},
    {&ZuzProCo::VavIve_LinkToolDesc, u"Link tool"},
    {&ZuzProCo::VavIve_Fibonacci, u"Fibonacci"},
    {&ZuzProCo::VavIve_FibonacciDesc, u"Fibonacci tool"},
    {&ZuzProCo::VavIve_LinearGaugeVertical, u"Vertical Linear Gauge"},
    {&ZuzProCo::VavIve_AVIFile, u"AVI file"},
    {&ZuzProCo::VavIve_SelectAVIFile, u"Select AVI file"},
    {&ZuzProCo::VavIve_MPEGFile, u"MPEG file"},
};

int gInitCount = 0;

void AssignTexts() {
    for (const TZuzMessage& m : kTexts) *m.Entry = m.Text;
}

} // namespace

std::span<const TZuzMessage> ZuzProCoMessages() {
    return kTexts;
}

void ZuzSetEnglish() {
    ZuzLanguage = ZuzEnglishLanguage;
    ZuzSetConstants();
    AssignTexts();
    ZuzLanguageHotKeyAtEnd = false;
    ZuzLanguageCanUpper = true;
}

void ZuzProCoInitialization() {
    if (gInitCount++ == 0) AssignTexts();
}

void ZuzProCoFinalization() {
    if (gInitCount == 0 || --gInitCount > 0) return;
    for (const TZuzMessage& m : kTexts) m.Entry->clear();
}
