#include <gtest/gtest.h>

#include <zrbase/ZrHeap.h>
#include <zrbase/ZrRxDictionary.h>
#include <zrbase/ZrRxObject.h>

namespace {

class Shape : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(Shape);
    ~Shape() override { ++destroyed; }
    Nimb::ErrorStatus copyFrom(const ZrRxObject* other) override
    {
        const Shape* shape = Shape::cast(other);
        if (!shape)
            return Nimb::eWrongObjectType;
        size = shape->size;
        return Nimb::eOk;
    }
    int size = 0;
    static int destroyed;
};
int Shape::destroyed = 0;

class Box : public Shape {
public:
    ZRRX_DECLARE_MEMBERS(Box);
};

// Answers queries for Box by handing out a companion object.
class Wrapper : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(Wrapper);
    ZrRxObject* subQueryX(const ZrRxClass* wanted) const override
    {
        return wanted == Box::desc() ? const_cast<Box*>(&inner) : nullptr;
    }
    Box inner;
};

ZRRX_DEFINE_MEMBERS(Shape, ZrRxObject, [] { return static_cast<ZrRxObject*>(new Shape); })
ZRRX_DEFINE_MEMBERS(Box, Shape, [] { return static_cast<ZrRxObject*>(new Box); })
ZRRX_DEFINE_MEMBERS(Wrapper, ZrRxObject, nullptr)

} // namespace

TEST(RuntimeClasses, KindCastAndQuery)
{
    Box box;
    Wrapper wrapper;
    EXPECT_EQ(box.isA(), Box::desc());
    EXPECT_TRUE(box.isKindOf(Shape::desc()));
    EXPECT_TRUE(box.isKindOf(ZrRxObject::desc()));
    EXPECT_FALSE(wrapper.isKindOf(Shape::desc()));
    EXPECT_EQ(Shape::cast(&box), &box);
    EXPECT_EQ(Box::cast(&wrapper), nullptr);
    EXPECT_EQ(Box::cast(nullptr), nullptr);
    EXPECT_EQ(Wrapper::cast(&box), nullptr);
    EXPECT_EQ(box.queryX(Shape::desc()), &box);
    EXPECT_EQ(wrapper.queryX(Box::desc()), &wrapper.inner);
    EXPECT_EQ(wrapper.queryX(Shape::desc()), nullptr);
    EXPECT_EQ(std::wstring(Box::desc()->name()), L"Box");
    EXPECT_EQ(Wrapper::desc()->create(), nullptr);
}

TEST(RuntimeClasses, CloneCopiesThroughCopyFrom)
{
    Shape original;
    original.size = 7;
    ZrRxObjectPtr copy(original.clone());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->isA(), Shape::desc());
    EXPECT_EQ(Shape::cast(copy.get())->size, 7);
    EXPECT_TRUE(original.isEqualTo(&original));
    EXPECT_FALSE(original.isEqualTo(copy.get()));
    EXPECT_EQ(original.comparedTo(copy.get()), ZrRx::kNotOrderable);
}

TEST(RuntimeClasses, NotThatKindOfClassNamesBothClasses)
{
    ZrError_NotThatKindOfClass error(Box::desc(), Wrapper::desc());
    EXPECT_STREQ(error.what(), "object of class Box is not a Wrapper");
    EXPECT_EQ(error.actualClass(), Box::desc());
}

TEST(ReferenceCounting, LastReleaseDeletes)
{
    Shape::destroyed = 0;
    auto* shape = new Shape;
    EXPECT_EQ(shape->referenceCount(), 1);
    zrrxAddRef(shape);
    {
        ZrRxObjectPtr holder(shape); // adopts one of the two references
        ZrRxObjectPtr second = holder;
        EXPECT_EQ(shape->referenceCount(), 3);
    }
    EXPECT_EQ(Shape::destroyed, 0);
    zrrxRelease(shape);
    EXPECT_EQ(Shape::destroyed, 1);
    zrrxRelease(nullptr);
    zrrxAddRef(nullptr);
}

TEST(Registry, HoldsOneReferencePerEntry)
{
    ZrRxDictionary registry;
    auto* shape = new Shape;
    EXPECT_EQ(registry.atPut(L"Shape", shape), nullptr);
    EXPECT_EQ(registry.at(L"Shape"), shape);
    EXPECT_EQ(registry.at(L"shape"), nullptr); // keys are exact
    auto* other = new Shape;
    ZrRxObject* replaced = registry.atPut(L"Shape", other);
    EXPECT_EQ(replaced, shape);
    zrrxRelease(replaced);
    EXPECT_EQ(registry.remove(L"Shape"), other);
    EXPECT_EQ(registry.remove(L"Shape"), nullptr);
    zrrxRelease(other);
}

TEST(Registry, NumberedServices)
{
    EXPECT_EQ(zrrxGetService(91), nullptr);
    auto* service = new Shape;
    zrrxRegisterService(91, service);
    EXPECT_EQ(zrrxGetService(91), service);
    Shape::destroyed = 0;
    zrrxRegisterService(91, nullptr);
    EXPECT_EQ(zrrxGetService(91), nullptr);
    EXPECT_EQ(Shape::destroyed, 1);
}

TEST(HostHeap, CountsLiveBlocks)
{
    struct Thing : ZrHeapOperators {
        double value[4];
    };
    const long before = zrrxLiveBlockCount();
    auto* thing = new Thing;
    void* counter = zrrxAlloc(8);
    EXPECT_EQ(zrrxLiveBlockCount(), before + 2);
    delete thing;
    zrrxFree(counter);
    zrrxFree(nullptr);
    EXPECT_EQ(zrrxLiveBlockCount(), before);
}
