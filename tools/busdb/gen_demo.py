#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the demo bus data (data/demo/*.csv) deterministically: same output on every run.

Usage: tools/busdb/gen_demo.py [OUTDIR]   (default: data/demo beside this script's repository root)
"""
import csv
import os
import random
import sys

# Province -> [(city, line count)]. One province without cities, one city without lines.
PROVINCES = [
    ("北京", [("北京", 1100)]),
    ("上海", [("上海", 260)]),
    ("广东", [("广州", 180), ("深圳", 160), ("珠海", 40), ("佛山", 60), ("东莞", 50)]),
    ("江苏", [("南京", 120), ("苏州", 90), ("无锡", 50), ("扬州", 30)]),
    ("浙江", [("杭州", 130), ("宁波", 60), ("温州", 40)]),
    ("四川", [("成都", 110), ("绵阳", 25)]),
    ("湖北", [("武汉", 100), ("宜昌", 25)]),
    ("山东", [("济南", 60), ("青岛", 70), ("烟台", 30)]),
    ("海南", [("海口", 35), ("三沙", 0)]),
    ("西藏", []),
]

# Landmarks of each city; the rest of a city's stations are made from its roads and place words.
LANDMARKS = {
    "北京": "天安门东 天安门西 西单 东单 动物园 北京站 北京西站 北京南站 前门 王府井 公主坟 五道口 中关村 国贸 东直门 "
            "西直门 复兴门 建国门 朝阳门 崇文门 宣武门 菜市口 永定门 木樨地 军事博物馆 北海 景山东街 故宫 雍和宫 "
            "鼓楼 积水潭 德胜门 安定门 和平里 三元桥 大望路 四惠 六里桥 丰台 方庄 望京 奥林匹克公园 颐和园 圆明园 "
            "北京大学 清华大学 海淀黄庄 魏公村 白石桥 甘家口 月坛 阜成门 平安里 新街口 西四 灵境胡同 虎坊桥 天坛 "
            "蒲黄榆 刘家窑 宋家庄 呼家楼 团结湖 工人体育场 农展馆 燕莎桥 亮马桥 首都机场",
    "上海": "人民广场 南京东路 外滩 陆家嘴 徐家汇 静安寺 上海火车站 上海南站 虹桥枢纽 中山公园 五角场 豫园 "
            "新天地 淮海中路 世纪公园 张江 龙阳路 莘庄 七宝 曹家渡 打浦桥 老西门 大世界 南京西路 曲阳路 "
            "南京路，西藏路口",
    "广州": "火车站 广州东站 天河体育中心 北京路 中山纪念堂 越秀公园 海珠广场 珠江新城 体育西路 客村 "
            "黄沙 芳村 白云机场 五羊新城 动物园 烈士陵园 农讲所",
    "深圳": "罗湖口岸 老街 华强北 车公庙 世界之窗 科技园 蛇口港 福田口岸 市民中心 深圳北站 大剧院 "
            "华侨城 东门，人民北路口",
    "南京": "新街口 鼓楼 南京站 南京南站 夫子庙 中华门 中山陵 玄武门 大行宫 珠江路 汉中门 山西路",
    "杭州": "武林广场 西湖 龙翔桥 城站火车站 黄龙体育中心 断桥 灵隐寺 湖滨 凤起路 庆春路 六和塔",
    "成都": "天府广场 春熙路 火车北站 宽窄巷子 武侯祠 杜甫草堂 锦里 骡马市 盐市口 九眼桥 熊猫基地",
    "武汉": "汉口火车站 武昌火车站 江汉路 黄鹤楼 中南路 街道口 光谷广场 司门口 循礼门 武汉大学",
    "青岛": "栈桥 五四广场 台东 火车站 中山路 八大关 李村 崂山 石老人 海洋大学",
}
GENERIC_PLACES = "火车站 汽车站 人民广场 市政府 体育中心 人民医院 中医院 妇幼保健院 师范学院 市一中 百货大楼 " \
                 "农贸市场 新华书店 工人文化宫 人民公园 会展中心 开发区 高新区 客运中心 公交总站"
ROADS = "人民 解放 中山 建设 胜利 和平 新华 文化 长江 黄河 光明 朝阳 东风 北京 延安 青年 学府 环城 滨江 " \
        "迎宾 红旗 幸福 团结 前进 工农 南湖 北湖 东湖 西湖 花园 育才 振兴 民主 友谊 健康"
PLACE_SUFFIXES = ["路口", "小区", "医院", "公园", "中学", "小学", "市场", "新村", "桥", "广场", "花园", "大厦"]
REMARKS = ["空调车", "无人售票", "空调车、无人售票", "普通车", "空调车、刷卡优惠", "无人售票、老人卡免费",
           "高峰加密", "双层巴士", "新能源车"]
FIRST_TIMES = ["5:00", "5:30", "5:40", "6:00", "6:10", "6:30", "7:00"]
LAST_TIMES = ["20:00", "21:00", "21:30", "22:00", "22:30", "23:00", "23:30"]


def station_pool(rng, city, size):
    names = LANDMARKS.get(city, "").split() + GENERIC_PLACES.split()
    roads = ROADS.split()
    seen = set(names)
    while len(names) < size:
        name = rng.choice(roads) + rng.choice(PLACE_SUFFIXES)
        if rng.random() < 0.3:
            name = rng.choice(roads) + "路" + rng.choice([x for x in PLACE_SUFFIXES if x != "路口"])
        if name not in seen:
            seen.add(name)
            names.append(name)
    return names


def corridors(rng, pool, count):
    """Ordered station sequences that lines follow; built from one pool, so corridors cross and share."""
    hubs = pool[: max(4, len(pool) // 10)]
    result = []
    for _ in range(count):
        length = rng.randint(18, 40)
        seq = rng.sample(pool, min(length, len(pool)))
        # Every corridor passes a hub or two, so the busy stations are on many lines.
        for hub in rng.sample(hubs, 2):
            if hub not in seq:
                seq[rng.randrange(len(seq))] = hub
        result.append(seq)
    return result


def line_names(rng, count):
    """Plausible, unique line names: mostly numbered lines, with night, rapid, tourist and special lines."""
    specials = []
    if count >= 30:
        specials += ["夜%d路" % i for i in range(1, max(2, count // 25) + 1)]
        specials += ["快速公交%d线" % i for i in range(1, max(2, count // 200) + 2)]
        specials += ["旅游%d线" % i for i in range(1, max(2, count // 300) + 2)]
        specials += ["K%d路" % i for i in range(1, max(2, count // 60) + 1)]
    if count >= 100:
        specials += ["专%d路" % i for i in range(1, count // 40 + 1)]
        specials += ["机场大巴%d线" % i for i in range(1, 4)]
        specials += ["%d路环线" % i for i in range(1, 4)]
    specials = specials[: count // 4]
    numbered = ["%d路" % i for i in range(1, count - len(specials) + 1)]
    return numbered + specials


def stop_text(name):
    return name if name.endswith("站") else name + "站"


def make_line(rng, name, lanes):
    lane = rng.choice(lanes)
    length = rng.randint(8, min(26, len(lane)))
    start = rng.randrange(0, len(lane) - length + 1)
    stations = lane[start:start + length]
    if rng.random() < 0.5:
        stations = list(reversed(stations))
    # Now and then a line turns onto a crossing corridor at a shared station.
    other = rng.choice(lanes)
    shared = [s for s in stations[len(stations) // 2:] if s in other]
    if shared and rng.random() < 0.5:
        cut = stations.index(shared[0])
        rest = other[other.index(shared[0]) + 1:][: rng.randint(3, 10)]
        stations = stations[: cut + 1] + [s for s in rest if s not in stations]
    night = name.startswith("夜")
    tourist = name.startswith("旅游")
    ring = "环线" in name
    if ring:
        stations = stations + [stations[0]]
    if night:
        sj = "首班 %s 末班 %s" % (rng.choice(["22:30", "23:00", "23:30"]), rng.choice(["4:30", "5:00", "5:30"]))
        bz = "夜班线"
    else:
        sj = "首班 %s 末班 %s" % (rng.choice(FIRST_TIMES), rng.choice(LAST_TIMES))
        bz = "旅游专线、空调车" if tourist else rng.choice(REMARKS)
    roll = rng.random()
    if name.startswith(("快速公交", "机场大巴")) or roll < 0.2:
        pj = "分段计价 %d-%d元" % (1, rng.randint(3, 6))
    elif roll < 0.3:
        pj = "票价 1元"
    else:
        pj = "票价 %d元" % rng.choice([1, 2, 2, 2, 3])
    if ring:
        xh = ""
    elif rng.random() < 0.08:
        xh = ""  # one-way service
    else:
        back = list(reversed(stations))
        if rng.random() < 0.15 and len(back) > 4:
            # One-way streets: the return trip skips a station.
            del back[rng.randrange(1, len(back) - 1)]
        xh = ",".join(back)
    return {
        "lm": name,
        "start": stop_text(stations[0]) + "-->" + stop_text(stations[-1]),
        "bz": bz, "sj": sj, "pj": pj,
        "sh": ",".join(stations), "xh": xh,
    }


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "data", "demo")
    os.makedirs(out, exist_ok=True)
    rng = random.Random(20240607)
    sheng, cities, buses = [], [], []
    next_city_id, next_line_id = 1, 10001
    for province, province_cities in PROVINCES:
        sheng.append([province])
        for city, count in province_cities:
            cid = str(next_city_id)
            next_city_id += 1
            cities.append([cid, city, province])
            if count == 0:
                continue
            pool = station_pool(rng, city, 40 + count // 3)
            lanes = corridors(rng, pool, 6 + count // 12)
            for name in line_names(rng, count):
                line = make_line(rng, name, lanes)
                buses.append([str(next_line_id), cid, line["lm"], line["start"], line["bz"], line["sj"],
                              line["pj"], line["sh"], line["xh"]])
                next_line_id += 1
    for row in sheng + cities + buses:
        for value in row:
            assert "'" not in value and "\t" not in value, value
    tables = {
        "sheng.csv": (["sheng"], sheng),
        "city.csv": (["id", "city", "scity"], cities),
        "bus.csv": (["id", "cid", "lm", "start", "bz", "sj", "pj", "sh", "xh"], buses),
        "uconf.csv": (["id", "city", "cid"], [["1", "北京", "1"]]),
    }
    for file, (header, rows) in tables.items():
        with open(os.path.join(out, file), "w", encoding="utf-8", newline="") as f:
            w = csv.writer(f, lineterminator="\n")
            w.writerow(header)
            w.writerows(rows)


if __name__ == "__main__":
    main()
