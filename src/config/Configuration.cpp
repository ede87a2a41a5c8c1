#include "config/Configuration.h"

namespace {
// Colours of the defaults are 8-bit intensities, each divided by 255 in single precision.
Color rgba(int red, int green, int blue, int alpha) {
    return Color(static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f,
                 static_cast<float>(blue) / 255.0f, static_cast<float>(alpha) / 255.0f);
}
} // namespace

void setDefaultConfiguration(Configuration& c) {
    c.setFloat("Canvas.Separator.Size", 3.0f);
    c.setColor("Canvas.Separator.Color", rgba(0, 0, 0, 64));
    c.setBool("Visualizer.General.Associations", true);
    c.setBool("Visualizer.General.Generalizations", true);
    c.setBool("Visualizer.General.Dependencies", true);
    c.setBool("Visualizer.General.Abstractions", true);
    c.setBool("Visualizer.General.Messages", true);
    c.setBool("Visualizer.General.Transitions", true);
    c.setBool("Visualizer.General.Comments", false);
    c.setBool("Visualizer.General.Methods", true);
    c.setBool("Visualizer.General.Attributes", true);
    c.setBool("Visualizer.General.RelationNames", false);
    c.setBool("Visualizer.General.ElementNames", true);
    c.setBool("Visualizer.General.Shadows", true);
    c.setColor("Visualizer.General.SelectColor", rgba(0, 51, 204, 76));
    c.setFloat("Visualizer.General.RelationWidth", 12.0f);
    c.setFloat("Visualizer.General.Stereo.EyeSeperation", 1.5f);
    c.setFloat("Visualizer.General.Stereo.FocusDistance", 100.0f);
    c.setColor("Visualizer.General.Legend.FillColor", rgba(255, 255, 221, 221));
    c.setColor("Visualizer.General.Legend.OutlineColor", rgba(0, 0, 0, 221));
    c.setColor("Visualizer.General.Legend.FontColor", rgba(0, 0, 0, 221));
    c.setFloat("Visualizer.General.Legend.FontSize", 10.0f);
    c.setFloat("Visualizer.General.Legend.Spacing", 3.0f);
    c.setFloat("Visualizer.General.Legend.Transparency", 0.7f);
    c.setBool("Visualizer.General.Legend.Enable", false);
    c.setFloat("Visualizer.UMLModel.ShadowSize", 3.0f);
    c.setFloat("Visualizer.UMLModel.TextSpacing", 3.0f);
    c.setFloat("Visualizer.UMLModel.CommentNoteFraction", 3.0f);
    c.setFloat("Visualizer.UMLModel.ArrowSize", 25.0f);
    c.setFloat("Visualizer.UMLModel.ArrowAngle", 0.27f);
    c.setFloat("Visualizer.UMLModel.MultiplicityDistance", 16.0f);
    c.setFloat("Visualizer.UMLModel.MessageSize", 16.0f);
    c.setFloat("Visualizer.UMLModel.StateRounding", 6.0f);
    c.setColor("Visualizer.UMLModel.ShadowColor", rgba(153, 153, 153, 153));
    c.setFloat("Visualizer.SimpleMetrics.Spacing", 0.025f);
    c.setFloat("HoverInfo.Spacing", 5.0f);
    c.setFloat("HoverInfo.FontSize", 8.0f);
    c.setColor("HoverInfo.Int.FillColor", rgba(255, 221, 221, 221));
    c.setColor("HoverInfo.Int.OutlineColor", rgba(0, 0, 0, 221));
    c.setColor("HoverInfo.Bool.FillColor", rgba(221, 221, 255, 221));
    c.setColor("HoverInfo.Bool.OutlineColor", rgba(0, 0, 0, 221));
    c.setColor("HoverInfo.ModelElement.FillColor", rgba(221, 255, 221, 221));
    c.setColor("HoverInfo.ModelElement.OutlineColor", rgba(0, 0, 0, 221));
}

// Both definitions live in this file so that the store is constructed before the
// defaults are written into it.
Configuration globalConfiguration;

namespace {
const bool globalDefaultsSet = (setDefaultConfiguration(globalConfiguration), true);
} // namespace
