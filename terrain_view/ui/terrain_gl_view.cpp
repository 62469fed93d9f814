#include "terrain_gl_view.h"

#include "forge/output/relief_preview.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace qarn {

namespace {

// The light is worked out per vertex as the relief preview does per cell:
// 1 on level ground, so a lake shows the water colour itself.
const char* const VERTEX_SHADER = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec2 slope;
layout(location = 2) in vec4 colour;
uniform mat4 viewProjection;
uniform float exaggeration;
uniform vec3 sun;
uniform float landShading;
uniform float waterShading;
out vec3 shaded;
void main()
{
    gl_Position = viewProjection * vec4(position.xy, position.z * exaggeration, 1.0);
    vec3 normal = normalize(vec3(-slope * exaggeration, 1.0));
    float light = max(dot(normal, sun), 0.0) / sun.z;
    float strength = colour.a > 0.5 ? waterShading : landShading;
    shaded = min(colour.rgb * (1.0 - strength + strength * light), vec3(1.0));
}
)";

const char* const FRAGMENT_SHADER = R"(#version 330 core
in vec3 shaded;
out vec4 fragment;
void main()
{
    fragment = vec4(shaded, 1.0);
}
)";

// A pale sky, far from every colour of the ramp's low end and from water.
constexpr float SKY[3] = {0.80f, 0.84f, 0.89f};

} // namespace

TerrainGlView::TerrainGlView(QWidget* parent) : QOpenGLWidget(parent)
{
    QSurfaceFormat format;
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    // Frames come as fast as they are drawn; a software renderer has no
    // vertical blank worth waiting for.
    format.setSwapInterval(0);
    setFormat(format);
    setMinimumSize(160, 120);
    setFocusPolicy(Qt::StrongFocus);
    setSun(PREVIEW_LIGHT_AZIMUTH_DEGREES, PREVIEW_LIGHT_ALTITUDE_DEGREES);
    rest_.setSingleShot(true);
    rest_.setInterval(250);
    connect(&rest_, &QTimer::timeout, this, [this] {
        moving_ = false;
        update();
    });
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] {
        if (shownPending_) {
            shownPending_ = false;
            emit meshShown();
        }
    });
}

TerrainGlView::~TerrainGlView()
{
    releaseGl();
    // The base class destroys the context after this part of the object is
    // gone: its last signal must not reach releaseGl.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
}

void TerrainGlView::releaseGl()
{
    if (!glReady_ || !context())
        return;
    makeCurrent();
    program_.reset();
    vao_.destroy();
    vertexBuffer_.destroy();
    indexBuffer_.destroy();
    uploaded_.reset();
    doneCurrent();
    glReady_ = false;
}

void TerrainGlView::setMesh(std::shared_ptr<const TerrainMesh> mesh)
{
    const bool sameSize = mesh && mesh_ && mesh->rows == mesh_->rows && mesh->cols == mesh_->cols;
    mesh_ = std::move(mesh);
    uploadPending_ = true;
    shownPending_ = true;
    if (!sameSize)
        framed_ = false;
    update();
}

void TerrainGlView::setSun(double azimuthDegrees, double elevationDegrees)
{
    sun_ = sunDirection(azimuthDegrees, elevationDegrees);
    update();
}

void TerrainGlView::setExaggeration(double times)
{
    exaggeration_ = times;
    update();
}

void TerrainGlView::resetView()
{
    framed_ = false;
    update();
}

void TerrainGlView::topView()
{
    frameMesh();
    camera_.frameFromAbove();
    update();
}

void TerrainGlView::frameMesh()
{
    camera_.setViewport(width(), height());
    if (mesh_)
        camera_.frame({0.0, 0.0, mesh_->span * exaggeration_ / 2.0}, mesh_->width(), mesh_->depth(),
                      mesh_->span * exaggeration_);
    framed_ = true;
}

void TerrainGlView::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &TerrainGlView::releaseGl, Qt::DirectConnection);
    if (!initializeOpenGLFunctions()) {
        emit glFailed(tr("no OpenGL 3.3 driver could be started"));
        return;
    }
    program_ = std::make_unique<QOpenGLShaderProgram>();
    if (!program_->addShaderFromSourceCode(QOpenGLShader::Vertex, VERTEX_SHADER) ||
        !program_->addShaderFromSourceCode(QOpenGLShader::Fragment, FRAGMENT_SHADER) || !program_->link()) {
        emit glFailed(tr("the OpenGL driver cannot run the view's shaders"));
        return;
    }
    vao_.create();
    vertexBuffer_.create();
    indexBuffer_.create();
    glReady_ = true;
    uploaded_.reset(); // the new buffers hold nothing yet
    uploadPending_ = mesh_ != nullptr;
}

void TerrainGlView::resizeGL(int, int)
{
    camera_.setViewport(width(), height());
}

void TerrainGlView::upload()
{
    uploadPending_ = false;
    vao_.bind();
    vertexBuffer_.bind();
    indexBuffer_.bind();
    if (!mesh_ || mesh_->vertices.empty()) {
        vao_.release();
        uploaded_.reset();
        return;
    }
    // A stroke changes a few rows of the map: of a mesh as large as the one
    // the GPU holds, only the run of vertices from the first to the last that
    // differ goes up, and the indices only when they differ.
    const std::vector<TerrainVertex>& vertices = mesh_->vertices;
    const TerrainMesh* before = uploaded_.get();
    if (before && before->vertices.size() == vertices.size()) {
        const auto same = [&](std::size_t i) {
            return std::memcmp(&vertices[i], &before->vertices[i], sizeof(TerrainVertex)) == 0;
        };
        std::size_t first = 0, end = vertices.size();
        while (first < end && same(first))
            ++first;
        while (end > first && same(end - 1))
            --end;
        if (first < end)
            vertexBuffer_.write(static_cast<int>(first * sizeof(TerrainVertex)), &vertices[first],
                                static_cast<int>((end - first) * sizeof(TerrainVertex)));
    } else {
        vertexBuffer_.allocate(vertices.data(), static_cast<int>(vertices.size() * sizeof(TerrainVertex)));
    }
    if (!before || before->indices != mesh_->indices)
        indexBuffer_.allocate(mesh_->indices.data(), static_cast<int>(mesh_->indices.size() * sizeof(std::uint32_t)));
    uploaded_ = mesh_;
    const int stride = sizeof(TerrainVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(TerrainVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(offsetof(TerrainVertex, slopeEast)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, reinterpret_cast<void*>(offsetof(TerrainVertex, red)));
    vao_.release();
}

void TerrainGlView::paintGL()
{
    glClearColor(SKY[0], SKY[1], SKY[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    trianglesDrawn_ = 0;
    if (!glReady_)
        return;
    if (uploadPending_)
        upload();
    if (!mesh_ || mesh_->indices.empty())
        return;
    if (!framed_)
        frameMesh();
    camera_.setViewport(width(), height());

    glEnable(GL_DEPTH_TEST);
    program_->bind();
    const std::array<float, 16> vp = camera_.viewProjection().toFloats();
    glUniformMatrix4fv(program_->uniformLocation("viewProjection"), 1, GL_FALSE, vp.data());
    program_->setUniformValue("exaggeration", static_cast<float>(exaggeration_));
    program_->setUniformValue("sun", static_cast<float>(sun_.x), static_cast<float>(sun_.y), static_cast<float>(sun_.z));
    program_->setUniformValue("landShading", static_cast<float>(RELIEF_LAND_SHADING));
    program_->setUniformValue("waterShading", static_cast<float>(RELIEF_WATER_SHADING));
    vao_.bind();
    const Vec3 eye = camera_.eye();
    const double pixelsPerRadian = height() / (OrbitCamera::FOV_Y_DEGREES * 3.14159265358979323846 / 180.0);
    // Near chunks first, so the depth test spares the software renderer
    // shading what they hide.
    order_.clear();
    for (const MeshChunk& chunk : mesh_->chunks) {
        const Vec3 centre{chunk.centre.x, chunk.centre.y, chunk.centre.z * exaggeration_};
        order_.push_back({length(eye - centre), &chunk});
    }
    std::sort(order_.begin(), order_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [distance, chunkPointer] : order_) {
        const MeshChunk& chunk = *chunkPointer;
        const int level = std::min(chooseLevel(chunk, eye, pixelsPerRadian, mesh_->cellSize, exaggeration_) +
                                       (moving_ ? 1 : 0),
                                   MESH_LEVELS - 1);
        const IndexRange& range = chunk.levels[static_cast<std::size_t>(level)];
        if (range.count == 0)
            continue;
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(range.count), GL_UNSIGNED_INT,
                       reinterpret_cast<void*>(static_cast<std::uintptr_t>(range.first) * sizeof(std::uint32_t)));
        trianglesDrawn_ += range.count / 3;
    }
    vao_.release();
    program_->release();
}

void TerrainGlView::mousePressEvent(QMouseEvent* event)
{
    lastMouse_ = event->position().toPoint();
}

void TerrainGlView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const QPoint d = at - lastMouse_;
    lastMouse_ = at;
    if (event->buttons() & Qt::LeftButton)
        orbit(d.x(), d.y());
    else if (event->buttons() & (Qt::RightButton | Qt::MiddleButton))
        pan(d.x(), d.y());
}

void TerrainGlView::orbit(double dx, double dy)
{
    camera_.orbit(dx, dy);
    moved();
}

void TerrainGlView::pan(double dx, double dy)
{
    camera_.pan(dx, dy);
    moved();
}

void TerrainGlView::moved()
{
    moving_ = true;
    rest_.start();
    update();
}

void TerrainGlView::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0)
        return;
    const QPointF at = event->position();
    camera_.zoom(steps, camera_.groundPointAt(at.x(), at.y()));
    moved();
    event->accept();
}

} // namespace qarn
