#include "preparedScene.h"

#include <cmath>

namespace {

Sphere pointBounds(const Point3D& p) { return Sphere{p, 0.0f}; }

Sphere tubeBounds(const TubeLine& tube) {
    return boundingSphere({pointBounds(tube.a), pointBounds(tube.b)});
}

float polylineLength(const std::vector<Point3D>& line) {
    double length = 0;
    for (size_t k = 1; k < line.size(); ++k) {
        const double dx = line[k].x - line[k - 1].x, dy = line[k].y - line[k - 1].y,
                     dz = line[k].z - line[k - 1].z;
        length += std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    return static_cast<float>(length);
}

void buildNodes(const std::vector<Point3D>& points, NodeSet* set) {
    set->points = points;
    set->groups = groupItems(&set->points, pointBounds);
    set->buffer.fill(set->points);
}

void buildCentreLines(const TrackScene& scene, CentreLineSet* set) {
    std::array<std::vector<Point3D>, kCentreLineLevels.size()> strips;
    for (const std::vector<Point3D>& line : scene.centreLines) {
        std::vector<Sphere> points;
        points.reserve(line.size());
        for (const Point3D& p : line) points.push_back(pointBounds(p));
        set->bounds.push_back(boundingSphere(points));
        set->lengths.push_back(polylineLength(line));
        for (size_t level = 0; level < kCentreLineLevels.size(); ++level) {
            const size_t stride = kCentreLinePieces / kCentreLineLevels[level];
            for (size_t k = 0; k < line.size(); k += stride) strips[level].push_back(line[k]);
        }
    }
    for (size_t level = 0; level < kCentreLineLevels.size(); ++level) {
        set->levels[level].fill(strips[level]);
    }
}

void buildTubes(const std::vector<TubeLine>& tubes, TubeSet* set) {
    set->tubes = tubes;
    set->groups = groupItems(&set->tubes, tubeBounds);
    std::vector<Point3D> ends;
    ends.reserve(2 * set->tubes.size());
    for (const TubeLine& tube : set->tubes) {
        ends.push_back(tube.a);
        ends.push_back(tube.b);
    }
    set->lines.fill(ends);
}

}  // namespace

void PreparedScene::build(const TrackScene& scene) {
    buildCentreLines(scene, &centreLines);
    buildNodes(scene.trackNodes, &trackNodes);
    buildNodes(scene.fundNodes, &fundNodes);
    buildNodes(scene.freeNodes, &freeNodes);
    buildNodes(scene.bezierPoints, &bezierPoints);
    buildTubes(scene.tubes, &tubes);
}

void selectNodes(const NodeSet& set, float shapeRadius, const ViewVolume& view,
                 NodeSelection* selection) {
    selection->points.clear();
    selection->shapes.clear();
    for (const ItemGroup& group : set.groups) {
        const Sphere reach{group.bounds.centre, group.bounds.radius + shapeRadius};
        if (!view.mayShow(reach)) continue;
        if (view.pixelRadius(shapeRadius, group.bounds) < kPointPixels) {
            selection->points.add(group.first, group.count);
            continue;
        }
        for (size_t i = group.first; i < group.first + group.count; ++i) {
            const Sphere node{set.points[i], shapeRadius};
            if (!view.mayShow(node)) continue;
            if (view.pixelRadius(shapeRadius, pointBounds(set.points[i])) < kPointPixels) {
                selection->points.add(i, 1);
            } else {
                selection->shapes.push_back(i);
            }
        }
    }
}

void selectCentreLines(const CentreLineSet& set, const ViewVolume& view,
                       CentreLineSelection* selection) {
    for (RangeList& ranges : *selection) ranges.clear();
    for (size_t segment = 0; segment < set.bounds.size(); ++segment) {
        if (view.mayShow(set.bounds[segment])) addCentreLine(set, segment, view, selection);
    }
}

void addCentreLine(const CentreLineSet& set, size_t segment, const ViewVolume& view,
                   CentreLineSelection* selection) {
    const size_t level =
        detailLevel(view.pixelRadius(set.lengths[segment], set.bounds[segment]), kCentreLineLevels);
    const size_t points = static_cast<size_t>(kCentreLineLevels[level]) + 1;
    (*selection)[level].addStrip(segment * points, points);
}

void selectTubes(const TubeSet& set, const ViewVolume& view, RangeList* lines) {
    lines->clear();
    for (const ItemGroup& group : set.groups) {
        if (view.mayShow(group.bounds)) lines->add(2 * group.first, 2 * group.count);
    }
}
